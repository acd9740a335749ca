#pragma once

#include <QString>
#include <QWidget>

class QPlainTextEdit;

// A small window of our own that shows a text read-only, scrolled to a line with a
// value on it marked: the error list's double-click opens the import file here when
// the text editor takes no line, and View File and Open in Notepad show the file or
// the log here when no editor can be started. "&Close", Esc and Ctrl+W close it;
// it deletes itself when closed.
//
// It belongs to the window it is opened from (`owner`): a window of its own above
// that one, usable while the owner is shown modal, and gone with it.
namespace mainwindow {

class ReadOnlyFileViewer : public QWidget
{
public:
    // Reads the file (Windows-1252, as the import reads it); nullptr when it cannot
    // be read, after telling the user. `line` is 1-based (0 or past the end: the
    // first or last line); the first `value` on that line, else the next one after
    // it, is selected; an empty or missing value marks the whole line.
    static ReadOnlyFileViewer* showFile(const QString& path, int line, const QString& value,
                                        QWidget* owner = nullptr);
    // Shows a text that is no file of its own (the import log), at its first line.
    static ReadOnlyFileViewer* showText(const QString& title, const QString& text, QWidget* owner);

    const QString& filePath() const { return m_path; }
    // The 1-based line the cursor is on and the marked text.
    int currentLine() const;
    QString markedText() const;
    QPlainTextEdit* textView() const { return m_text; }

private:
    ReadOnlyFileViewer(const QString& path, const QString& title, const QString& text, QWidget* owner);
    void goTo(int line, const QString& value);

    QString m_path;
    QPlainTextEdit* m_text;
};

} // namespace mainwindow
