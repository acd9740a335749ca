#include "app/mainwindow/frmErrors.h"

#include "ui_frmErrors.h"

#include "app/session/ProgramSession.h"

#include "platform/forms/Twips.h"

#include <QTextCursor>

#include <algorithm>

namespace {

// The shown text has plain line ends; the log keeps CR LF.
QString displayed(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

frmErrors::frmErrors() : m_ui(std::make_unique<Ui::frmErrors>())
{
    m_ui->setupUi(this);
    // Read-only: an undo history of every import's lines would only cost memory.
    m_ui->txtImportText->setUndoRedoEnabled(false);
    connectSharedControls();
}

frmErrors::~frmErrors() = default;

void frmErrors::loaded()
{
    if (session::ProgramSession* s = session::ProgramSession::current())
        showText(s->importLog().text());
}

void frmErrors::Form_Resize()
{
    const int32_t width = mainwindow::widthTwips(this);
    const int32_t height = mainwindow::heightTwips(this);
    QTextEdit* text = m_ui->txtImportText;
    text->setGeometry(forms::twipsToPixels(100), forms::twipsToPixels(100), forms::twipsToPixels(width - 200),
                      forms::twipsToPixels(height - 800));
    // The wrap width of the text: the box's width less 400 twips.
    text->setLineWrapColumnOrWidth(std::max(1, forms::twipsToPixels(mainwindow::widthTwips(text) - 400)));
    layOutSharedRow(true);
}

void frmErrors::showEvent(QShowEvent* event)
{
    LogViewerForm::showEvent(event);
    if (session::ProgramSession* s = session::ProgramSession::current())
        s->importLog().showHeldText();
}

QString frmErrors::txtImportText() const
{
    return m_text;
}

void frmErrors::setTxtImportText(const QString& text)
{
    showText(text);
}

void frmErrors::showText(const QString& text)
{
    m_text = text;
    m_ui->txtImportText->setPlainText(displayed(text));
}

void frmErrors::appendTxtImportText(const QString& text)
{
    if (text.isEmpty())
        return;
    // A CR LF split over two appends is one line end.
    QString added = text;
    if (m_text.endsWith(QLatin1Char('\r')) && added.startsWith(QLatin1Char('\n')))
        added.remove(0, 1);
    const bool wasEmpty = m_text.isEmpty();
    m_text += text;
    if (wasEmpty) {
        // Given whole, the text is laid out as far as it is on screen and the rest
        // when the program is idle; appended, all of it at once.
        m_ui->txtImportText->setPlainText(displayed(added));
        return;
    }
    // Inside an edit block the cursor does not lay the text out up to its new place
    // on every append; the document lays out the added lines once, at the block's end.
    QTextCursor end(m_ui->txtImportText->document());
    end.movePosition(QTextCursor::End);
    end.beginEditBlock();
    end.insertText(displayed(added));
    end.endEditBlock();
}

void frmErrors::show()
{
    QWidget::show();
    raise();
    activateWindow();
}

const QTextDocument* frmErrors::importTextDocument() const
{
    return m_ui->txtImportText->document();
}
