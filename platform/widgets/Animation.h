#pragma once

#include <QElapsedTimer>
#include <QLabel>
#include <QString>

#include <memory>

class QMovie;

// The animation control: plays an animated image file (the clips "import.dll" and
// "Search.AVI" beside the program are animated GIFs under those names). Its own
// timer advances the frames while the event loop runs; a long run that never
// yields calls step() on each status update, which shows the frame that is due and
// paints it at once.
namespace widgets {

class Animation : public QLabel
{
    Q_OBJECT

public:
    explicit Animation(QWidget* parent = nullptr);
    ~Animation() override;

    // Opens the clip; false (and nothing shown) when the file is no readable animation.
    bool open(const QString& path);
    void play();
    void stop();
    void close();
    bool isOpen() const { return m_movie != nullptr; }
    bool isPlaying() const { return m_playing; }
    int currentFrame() const;
    int frameCount() const;
    // Advances to the next frame once the current one has been shown for its delay,
    // and repaints without running the event loop.
    void step();

private:
    std::unique_ptr<QMovie> m_movie;
    QElapsedTimer m_shown; // since the current frame came up
    bool m_playing = false;
};

} // namespace widgets
