#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

// While it lives, the calling thread meets file permissions as any user does, also when the tests
// run as root: the capabilities that pass over them leave its effective set (they stay permitted
// and return at the end). Other threads, such as the database engine's, keep theirs.
class Dateirechte {
public:
    Dateirechte()
    {
        if (::syscall(SYS_capget, &kopf_, vorher_) != 0)
            return;
        __user_cap_data_struct ohne[2] = {vorher_[0], vorher_[1]};
        ohne[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        gesenkt_ = ::syscall(SYS_capset, &kopf_, ohne) == 0;
    }
    ~Dateirechte()
    {
        if (gesenkt_)
            ::syscall(SYS_capset, &kopf_, vorher_);
    }
    Dateirechte(const Dateirechte&) = delete;
    Dateirechte& operator=(const Dateirechte&) = delete;

private:
    __user_cap_header_struct kopf_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct vorher_[2]{};
    bool gesenkt_ = false;
};
