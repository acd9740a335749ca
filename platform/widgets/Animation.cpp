#include "platform/widgets/Animation.h"

#include <QMovie>

namespace widgets {

Animation::Animation(QWidget* parent) : QLabel(parent)
{
    setAlignment(Qt::AlignCenter);
}

Animation::~Animation() = default;

bool Animation::open(const QString& path)
{
    close();
    // The clips carry names that say nothing of their format, so it is read from the content.
    auto movie = std::make_unique<QMovie>(path);
    if (!movie->isValid() || movie->frameCount() == 0)
        return false;
    movie->setCacheMode(QMovie::CacheAll);
    m_movie = std::move(movie);
    connect(m_movie.get(), &QMovie::frameChanged, this, [this] { m_shown.restart(); });
    setMovie(m_movie.get());
    m_movie->jumpToFrame(0);
    return true;
}

void Animation::play()
{
    if (!m_movie)
        return;
    m_playing = true;
    m_shown.start();
    m_movie->start();
}

void Animation::stop()
{
    if (!m_movie)
        return;
    m_playing = false;
    m_movie->setPaused(true);
}

void Animation::close()
{
    m_playing = false;
    setMovie(nullptr);
    clear();
    m_movie.reset();
}

int Animation::currentFrame() const
{
    return m_movie ? m_movie->currentFrameNumber() : -1;
}

int Animation::frameCount() const
{
    return m_movie ? m_movie->frameCount() : 0;
}

void Animation::step()
{
    if (!m_movie || !m_playing)
        return;
    if (m_shown.isValid() && m_shown.elapsed() < std::max(0, m_movie->nextFrameDelay()))
        return;
    if (!m_movie->jumpToNextFrame())
        m_movie->jumpToFrame(0);
    m_shown.restart();
    if (isVisible())
        repaint();
}

} // namespace widgets
