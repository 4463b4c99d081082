#pragma once
// The number of web requests being handled, process-wide. The chart-image
// writers skip their work while it is not zero, so no image is rewritten while
// a browser may be reading it. A request counts from the moment it passed
// authentication until its reply has been sent or the connection dropped.
#include <atomic>

class WebServing {
public:
    // Requests in progress now; read from any thread.
    static int count();

    // Called by the server's connection threads around one request.
    static void enter();
    static void leave();

private:
    static std::atomic<int> s_count;
};
