#include "tests/layouteditor/EditorFixture.h"
#include "tests/support/ListClicks.h"

#include "platform/forms/DefaultInstance.h"
#include "platform/settings/SettingsStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

namespace layouteditor {

EditorFixture::EditorFixture(const QString& folder)
    : m_boxes(std::make_unique<forms::ScopedScriptedMessages>()),
      m_dialogs(std::make_unique<forms::ScopedScriptedFileDialogs>())
{
    if (folder.isEmpty()) {
        m_temporary = std::make_unique<QTemporaryDir>();
        m_folder = m_temporary->path();
    } else {
        m_folder = folder;
    }
    settings::writeSetting(QStringLiteral("pellmoorconfigdir"), m_folder);
    settings::writeSetting(QStringLiteral("CheckSettlementDiscount"), QStringLiteral("0"));
    m_previousOptions =
        setup::settingsOptionsForm().install([this]() -> setup::SettingsOptions& { return m_options; });
}

EditorFixture::~EditorFixture()
{
    unloadEditor();
    setup::settingsOptionsForm().install(std::move(m_previousOptions));
}

QString EditorFixture::path(const QString& fileName) const
{
    return QDir(m_folder).filePath(fileName);
}

QStringList EditorFixture::shown() const
{
    QStringList lines;
    for (const auto& box : m_boxes->service().shown())
        lines << box.title + QLatin1Char('|') + box.text;
    return lines;
}

FrmFileStructure& EditorFixture::editor()
{
    return forms::DefaultInstance<FrmFileStructure>::get();
}

FrmFileStructure& EditorFixture::shownEditor()
{
    FrmFileStructure& form = editor();
    if (!form.isVisible()) {
        form.show();
        if (!QTest::qWaitForWindowExposed(&form))
            qWarning("the layout editor was not exposed");
    }
    return form;
}

bool EditorFixture::editorLoaded()
{
    return forms::DefaultInstance<FrmFileStructure>::isLoaded();
}

void EditorFixture::unloadEditor()
{
    forms::DefaultInstance<FrmFileStructure>::unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QWidget* EditorFixture::child(const char* name)
{
    return editor().findChild<QWidget*>(QLatin1String(name));
}

void EditorFixture::doubleClick(QWidget* widget)
{
    QTest::mouseDClick(widget, Qt::LeftButton);
}

bool EditorFixture::doubleClickEntry(const char* listName, const QString& title)
{
    return testsupport::doubleClickEntry(qobject_cast<QListWidget*>(child(listName)), title);
}

bool EditorFixture::pickColumn(int box, const QString& title)
{
    shownEditor();
    doubleClick(child(qPrintable(QStringLiteral("TxtField_%1").arg(box))));
    return doubleClickEntry("LstVorlenFields", title);
}

bool EditorFixture::pickGroup(int box, const QString& title)
{
    shownEditor();
    doubleClick(child(qPrintable(QStringLiteral("TxtIndex_%1").arg(box))));
    return doubleClickEntry("LstVorlenFields2", title);
}

QStringList EditorFixture::entries(const char* listName)
{
    auto* list = qobject_cast<QListWidget*>(child(listName));
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

void writeLines(const QString& path, const QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    for (const QString& line : lines)
        file.write(line.toLatin1() + "\r\n");
}

QStringList readLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString text = QString::fromLatin1(file.readAll());
    if (text.endsWith(QLatin1String("\r\n")))
        text.chop(2);
    return text.split(QStringLiteral("\r\n"));
}

QStringList columnLines(const QStringList& titlesFromColumnOne)
{
    QStringList lines = titlesFromColumnOne;
    while (lines.size() < 54)
        lines << QString();
    return lines;
}

QStringList groupLines(const QStringList& titles)
{
    QStringList lines = titles;
    while (lines.size() < 4)
        lines << QString();
    return lines;
}

} // namespace layouteditor
