#include "webserver/WebServing.h"

std::atomic<int> WebServing::s_count{0};

int WebServing::count() { return s_count.load(std::memory_order_acquire); }

void WebServing::enter() { s_count.fetch_add(1, std::memory_order_acq_rel); }

void WebServing::leave() { s_count.fetch_sub(1, std::memory_order_acq_rel); }
