#pragma once

// Whether the desktop composites windows, i.e. whether a translucent window really shows
// what lies below it. Asked afresh on every call: a compositor can start or stop at any time.
namespace Compositor {
bool isRunning();
} // namespace Compositor
