// A socat pty pair of a test's own, mapped to two COM numbers, that the test
// can kill to make the line vanish (started through a Unix shell under Wine).
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

#include "wine_peer.h"

// A socat pty pair mapped to COM a and COM b for as long as the object lives.
class OwnPtyPair {
 public:
    OwnPtyPair(int a, int b) : a_(a), b_(b)
    {
        char dir[MAX_PATH];
        std::snprintf(dir, sizeof dir, "/tmp/olvex-vanish-%lu", GetCurrentProcessId());
        dir_ = dir;
        const std::string d = dir_;
        ok_ = run_unix_shell(
            "mkdir -p " + d + " && cd " + d +
                " && rm -f a b pid"
                " && (socat pty,raw,echo=0,link=" +
                d + "/a pty,raw,echo=0,link=" + d +
                "/b </dev/null >/dev/null 2>&1 & echo $! >pid)"
                " && i=0 && while [ ! -e a -o ! -e b ] && [ $i -lt 100 ]; do sleep 0.05; i=$((i+1)); done"
                " && ln -sfn $(readlink -f a) ${OLVEX_DOSDEVICES:-$WINEPREFIX/dosdevices}/com" +
                std::to_string(a_) + " && ln -sfn $(readlink -f b) ${OLVEX_DOSDEVICES:-$WINEPREFIX/dosdevices}/com" +
                std::to_string(b_),
            10000);
    }
    ~OwnPtyPair()
    {
        run_unix_shell("kill $(cat " + dir_ +
                           "/pid) 2>/dev/null; rm -f ${OLVEX_DOSDEVICES:-$WINEPREFIX/dosdevices}/com" +
                           std::to_string(a_) + " ${OLVEX_DOSDEVICES:-$WINEPREFIX/dosdevices}/com" +
                           std::to_string(b_) + "; rm -rf " + dir_,
                       5000);
    }
    OwnPtyPair(const OwnPtyPair&) = delete;
    OwnPtyPair& operator=(const OwnPtyPair&) = delete;

    bool ok() const { return ok_; }
    // Kills the relay: both ttys lose their far end.
    bool vanish() { return run_unix_shell("kill $(cat " + dir_ + "/pid)", 5000); }

 private:
    int a_, b_;
    std::string dir_;
    bool ok_ = false;
};
