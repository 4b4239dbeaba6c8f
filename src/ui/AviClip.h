#pragma once
// The frames of a silent AVI clip of the kind an animation control plays: one video stream,
// uncompressed (8, 24 or 32 bits per pixel) or RLE8-compressed frames. Reading checks every
// size against what remains, so a damaged file gives an error, never a crash.
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace kestrane::ui {

class AviClip {
public:
    AviClip() = default;
    // Reads the clip; throws kestrane::Error naming the offset of what is wrong.
    static AviClip read(const QByteArray& bytes);
    static AviClip readFile(const QString& path);

    const QList<QImage>& frames() const { return m_frames; }
    int frameIntervalMs() const { return m_intervalMs; }
    QSize size() const { return m_size; }

private:
    QList<QImage> m_frames;
    int m_intervalMs = 100;
    QSize m_size;
};

} // namespace kestrane::ui
