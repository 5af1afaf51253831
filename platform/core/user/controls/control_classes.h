// The platform's control classes, registered once per process before the first window.
#pragma once

namespace handheld::user {

void registerControlClasses();

}  // namespace handheld::user
