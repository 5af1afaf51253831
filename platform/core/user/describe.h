// Answering the server's question about this process's windows (handheld-ctl tree, and other
// processes asking about a child window of ours).
#pragma once

#include "ipc/protocol.h"

namespace handheld::user {

void describeQueried(const ipc::DescribeQuery& query);

}  // namespace handheld::user
