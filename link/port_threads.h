// The receive and transmit worker threads: created held at a start gate
// (suspended), resumed, and stopped by setting their stop flag and waiting.
#pragma once

#include <atomic>
#include <memory>

#include "link/data_flow.h"
#include "link/link_resources.h"
#include "link/port_driver.h"
#include "link/port_settings.h"
#include "link/usart.h"

class WorkerThread;
struct ThreadShared;

// The two threads of one link. What they work on (the port layer, the two
// sides, the connection's settings) belongs to the link and outlives them.
class PortThreads {
 public:
    PortThreads(Usart& usart, RxSide& rx, TxSide& tx, const LinkSettings& settings, LinkResources& resources);
    ~PortThreads();  // stops both
    PortThreads(const PortThreads&) = delete;
    PortThreads& operator=(const PortThreads&) = delete;

    // 0; 2 the thread could not be created. Clears the side's stop flag (and the
    // transmit hold and drop request flags; the time-out flag keeps its value).
    int rx_thread_create(PortHandle port);
    int tx_thread_create(PortHandle port);
    // 0; 1 when no thread exists.
    int rx_thread_resume();
    int tx_thread_resume();
    // Resumes the thread, sets its stop flag and waits until it has ended; 0;
    // 1 when no thread exists.
    int rx_thread_stop();
    int tx_thread_stop();
    // The receive thread found the port gone (its driver calls kept failing) and
    // has put every byte it had read into the receive FIFO; it calls the driver no
    // more. Cleared when a receive thread is created.
    bool rx_port_lost() const { return rx_lost_; }
    bool rx_thread_exists() const { return rx_worker_ != nullptr; }
    bool tx_thread_exists() const { return tx_worker_ != nullptr; }

 private:
    Usart& usart_;
    RxSide& rx_;
    TxSide& tx_;
    const LinkSettings& settings_;
    LinkResources& resources_;
    std::unique_ptr<WorkerThread> rx_worker_;
    std::unique_ptr<WorkerThread> tx_worker_;
    std::atomic<bool> rx_lost_{false};
    std::unique_ptr<ThreadShared> shared_;
};
