// While it lives, the calling thread reads files as a user who is not root
// does: root's power to read any file is off (a no-op for any other user).
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pelmar::test {

class NoReadOverride {
public:
    NoReadOverride() {
        if (::syscall(SYS_capget, &head_, saved_) != 0) return;
        __user_cap_data_struct off[2] = {saved_[0], saved_[1]};
        off[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        on_ = ::syscall(SYS_capset, &head_, off) == 0;
    }
    ~NoReadOverride() {
        if (on_) ::syscall(SYS_capset, &head_, saved_);
    }
    NoReadOverride(const NoReadOverride&) = delete;
    NoReadOverride& operator=(const NoReadOverride&) = delete;

private:
    __user_cap_header_struct head_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2]{};
    bool on_ = false;
};

}  // namespace pelmar::test
