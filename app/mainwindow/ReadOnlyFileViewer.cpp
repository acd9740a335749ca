#include "app/mainwindow/ReadOnlyFileViewer.h"

#include "platform/basic/FileIO.h"
#include "platform/basic/RuntimeError.h"
#include "platform/forms/MessageService.h"

#include <QColor>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBlock>
#include <QVBoxLayout>

#include <algorithm>

namespace mainwindow {

ReadOnlyFileViewer* ReadOnlyFileViewer::showFile(const QString& path, int line, const QString& value,
                                                 QWidget* owner)
{
    QString text;
    try {
        text = basic::readTextFile(path);
    } catch (const basic::RuntimeError& e) {
        forms::MsgBox(QStringLiteral("Unable to open the import file ") + path + QStringLiteral(": ") +
                          e.description(),
                      forms::Exclamation);
        return nullptr;
    }
    auto* viewer = new ReadOnlyFileViewer(path, QFileInfo(path).fileName(), text, owner);
    viewer->show();
    viewer->goTo(line, value);
    return viewer;
}

ReadOnlyFileViewer* ReadOnlyFileViewer::showText(const QString& title, const QString& text, QWidget* owner)
{
    auto* viewer = new ReadOnlyFileViewer(QString(), title, text, owner);
    viewer->show();
    viewer->goTo(1, QString());
    return viewer;
}

ReadOnlyFileViewer::ReadOnlyFileViewer(const QString& path, const QString& title, const QString& text,
                                       QWidget* owner)
    : QWidget(owner ? owner->window() : nullptr, Qt::Window), m_path(path), m_text(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("ReadOnlyFileViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(title + QStringLiteral(" (read only)"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("btnClose"));
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Without a window manager there is no close box: the keys close it too.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(key, this), &QShortcut::activated, this, &QWidget::close);
    m_text->setObjectName(QStringLiteral("txtFile"));
    m_text->setReadOnly(true);
    // A cursor the keys move, so that the file can be read without a mouse.
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Line ends as the import reads them: CR LF, LF or CR.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // The ending of the last line adds no empty line.
    if (shown.endsWith(QLatin1Char('\n')))
        shown.chop(1);
    m_text->setPlainText(shown);
    resize(800, 500);
}

void ReadOnlyFileViewer::goTo(int line, const QString& value)
{
    QTextDocument* document = m_text->document();
    const int blockNumber = std::clamp(line, 1, std::max(1, document->blockCount())) - 1;
    const QTextBlock block = document->findBlockByNumber(blockNumber);
    QTextCursor cursor(block);
    QTextCursor found;
    if (!value.isEmpty()) {
        found = document->find(value, block.position(), QTextDocument::FindCaseSensitively);
        if (found.isNull())
            found = document->find(value, block.position()); // as a find without case would
    }
    if (found.isNull()) {
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        found = cursor;
    }
    m_text->setTextCursor(found);
    // The error's line stays marked as a whole, wherever the cursor goes.
    QTextEdit::ExtraSelection lineMark;
    lineMark.format.setBackground(QColor(255, 243, 176));
    lineMark.format.setProperty(QTextFormat::FullWidthSelection, true);
    lineMark.cursor = QTextCursor(found.block());
    m_text->setExtraSelections({lineMark});
    m_text->centerCursor();
    m_text->setFocus();
}

int ReadOnlyFileViewer::currentLine() const
{
    return m_text->textCursor().blockNumber() + 1;
}

QString ReadOnlyFileViewer::markedText() const
{
    return m_text->textCursor().selectedText();
}

} // namespace mainwindow
