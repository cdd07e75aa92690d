#pragma once

// POSIX only: a descriptor of the program's own (a bus connection, say) that joins the GUI
// thread's wait, so that the loop sleeps until the descriptor or a message needs it and no
// thread or polling timer is needed. The handler runs on the GUI thread, inside the loop,
// whenever the descriptor shows one of the events asked for.

#include <cstdint>

namespace posix {

using DescriptorHandler = void (*)(void* context);

// Watches fd for the poll events given (POLLIN, POLLOUT); watching it again changes its events
// and handler. False when the descriptor cannot be watched.
bool WatchDescriptor(int fd, std::uint32_t pollEvents, DescriptorHandler handler, void* context);

// Stops watching fd; call it before closing the descriptor.
void UnwatchDescriptor(int fd);

} // namespace posix
