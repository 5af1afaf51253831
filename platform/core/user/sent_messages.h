// The receiving and the sending side of messages sent between threads and processes.
#pragma once

#include <memory>
#include <optional>

#include "user/thread_queue.h"

namespace handheld::user {

// Runs one sent message on the calling thread (its receiver) and answers the sender.
void processSentMessage(ThreadQueue& queue, const std::shared_ptr<SentMessage>& message);
// Processes every message waiting in the calling thread's queue's sent list.
void processPendingSentMessages(ThreadQueue& queue);
// Answers a sent message; only the first answer counts (ReplyMessage may answer early).
// Call without the lock.
void answerSentMessage(const std::shared_ptr<SentMessage>& message, LRESULT result);
// Waits for the answer to a message this thread sent, serving messages sent to it meanwhile
// so that two threads or processes sending to each other never deadlock. Past the deadline it
// gives up with 0 and ERROR_TIMEOUT; the receiver still runs the message later.
LRESULT waitForReply(ThreadQueue& queue, const std::shared_ptr<SentMessage>& message,
                     std::optional<Clock::time_point> deadline = std::nullopt);

}  // namespace handheld::user
