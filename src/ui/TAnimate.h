#pragma once
// An animation player: plays the frames of an AVI clip, or the built-in "searching a folder"
// animation, in a loop until stopped.
#include "ui/AviClip.h"

#include <QTimer>
#include <QWidget>

namespace kestrane::ui {

class TAnimate : public QWidget {
    Q_OBJECT
public:
    explicit TAnimate(QWidget* parent = nullptr);

    // Plays the clip in `path`; throws kestrane::Error when it cannot be read.
    void setFileName(const QString& path);
    // Plays the built-in animation of a magnifier searching a folder.
    void useFindFolder();
    bool usesFile() const { return m_usesFile; }

    void setActive(bool active);
    bool isActive() const { return m_timer.isActive(); }
    int frameCount() const;
    int currentFrame() const { return m_frame; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintFindFolder(QPainter& painter);

    AviClip m_clip;
    bool m_usesFile = false;
    int m_frame = 0;
    QTimer m_timer;
};

} // namespace kestrane::ui
