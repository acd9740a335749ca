#include "app/setup/frmSplash.h"
#include "ui_frmSplash.h"

#include "app/session/ProgramSession.h"

#include "platform/forms/MessageService.h"
#include "platform/forms/Pump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QThread>
#include <QWindow>

#include <array>

namespace {

std::array<QLineEdit*, 4> contactBoxes(Ui::frmSplash& ui)
{
    return {ui.Text1, ui.Text2, ui.Text3, ui.Text4};
}

} // namespace

const QString& frmSplash::contactLine(int index)
{
    static const std::array<QString, 4> lines = {
        QStringLiteral("Pellmoor Software Support"),
        QStringLiteral("Telephone: 01632 960 418"),
        QStringLiteral("E-mail: support@pellmoor.example"),
        QStringLiteral("Web: www.pellmoor.example"),
    };
    return lines.at(size_t(index - 1));
}

frmSplash::frmSplash() : m_ui(std::make_unique<Ui::frmSplash>())
{
    m_ui->setupUi(this);
    setObjectName(QStringLiteral("frmSplash"));
    setWindowFlags(Qt::SplashScreen | Qt::WindowStaysOnTopHint);
    const std::array<QLineEdit*, 4> boxes = contactBoxes(*m_ui);
    for (int i = 0; i < 4; ++i) {
        QLineEdit* box = boxes[size_t(i)];
        box->setText(contactLine(i + 1));
        // Each box puts its own line back whenever its text changes.
        connect(box, &QLineEdit::textChanged, this, [box, i](const QString& text) {
            if (text != contactLine(i + 1))
                box->setText(contactLine(i + 1));
        });
    }
    // The caption's "&" marks its key (Alt+C) as on a button: a label shows the mark
    // only with a buddy, so it is its own, and its key closes the splash like a click.
    m_ui->Label1->setBuddy(m_ui->Label1);
    m_ui->Label1->installEventFilter(this);
}

frmSplash::~frmSplash() = default;

void frmSplash::formLoad()
{
    m_ui->lblVersion->setText(session::ProgramSession::versionText());
    m_ui->lblProductName->setText(QString::fromLatin1(forms::ProgramTitle));
    UnloadDelay = 1000;
}

// The window stays on screen through the pause; then the form goes.
void frmSplash::formUnload()
{
    forms::Sleep(UnloadDelay);
}

bool frmSplash::showPainted(int timeoutMs)
{
    m_paintedExposed = false;
    show();
    QElapsedTimer waited;
    waited.start();
    while (!m_paintedExposed && !isUnloaded() && waited.elapsed() < timeoutMs) {
        if (windowHandle() && windowHandle()->isExposed())
            update();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
        if (!m_paintedExposed)
            QThread::msleep(5);
    }
    // The pause that follows lets nothing run: what was painted must reach the screen.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return m_paintedExposed;
}

void frmSplash::paintEvent(QPaintEvent* event)
{
    forms::Form::paintEvent(event);
    if (windowHandle() && windowHandle()->isExposed())
        m_paintedExposed = true;
}

void frmSplash::Label1_Click()
{
    UnloadDelay = 0;
    unload();
}

void frmSplash::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        unload();
        return;
    }
    forms::Form::keyPressEvent(event);
}

bool frmSplash::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_ui->Label1 &&
        (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::Shortcut)) {
        Label1_Click();
        return true;
    }
    return forms::Form::eventFilter(watched, event);
}
