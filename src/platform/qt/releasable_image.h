#pragma once

#include <QImage>
#include <QSize>

namespace platform {

// A window-sized image whose memory goes back to the system as soon as the image
// is dropped, rather than staying in the allocator's heap.
QImage MakeReleasableImage(QSize size, QImage::Format format);

// How long a window's drawing buffers outlive the last paint. Painting comes in
// bursts (hover, press, resize); between them the buffers are not worth their
// W x H x 4 bytes.
constexpr int kIdleBufferReleaseMs = 100;

}  // namespace platform
