#include "app/import/LayoutFiles.h"

#include "platform/basic/FileIO.h"
#include "platform/basic/Strings.h"
#include "platform/settings/SettingsStore.h"

namespace importer {

namespace {

QString layoutPath(const QString& folder, const QString& templateName, const char* fileName)
{
    return folder + QLatin1Char('\\') + basic::Trim(templateName) + QString::fromLatin1(fileName);
}

QString joinLines(const QString* first, size_t count)
{
    QString text;
    for (size_t i = 0; i < count; ++i) {
        text += first[i];
        text += QLatin1String("\r\n");
    }
    return text;
}

} // namespace

QString LayoutFiles::configFolder()
{
    return basic::Trim(settings::readSetting(QStringLiteral("pellmoorconfigdir")));
}

QString LayoutFiles::columnFilePath(const QString& folder, const QString& templateName)
{
    return layoutPath(folder, templateName, ColumnFileName);
}

QString LayoutFiles::groupFilePath(const QString& folder, const QString& templateName)
{
    return layoutPath(folder, templateName, GroupFileName);
}

ImportLayout LayoutFiles::readColumnLayout(const QString& path)
{
    ImportLayout layout;
    basic::SequentialFile file;
    file.open(path, basic::OpenMode::Input);
    int32_t position = 1;
    while (!file.eof()) {
        const QString item = basic::Trim(file.inputItem());
        const int slot = slotOfTitle(item);
        if (slot > 0 && position <= MaxColumns) {
            layout.colPos[size_t(slot)] = int16_t(position);
            layout.lastCol = int16_t(position);
            if (slot == slot::GlobalTaxCode)
                layout.taxCodeMapped = true;
        }
        ++position;
    }
    file.close();
    return layout;
}

std::optional<GroupTitles> LayoutFiles::readGroupTitles(const QString& path)
{
    basic::SequentialFile file;
    file.open(path, basic::OpenMode::Input);
    if (file.lof() == 0) {
        file.close();
        return std::nullopt;
    }
    GroupTitles titles;
    for (auto& title : titles)
        title = basic::Trim(file.inputItem());
    file.close();
    return titles;
}

QString LayoutFiles::buildGroupSpec(const GroupTitles& titles, const ColumnTable& colPos)
{
    QString groupSpec;
    for (const auto& title : titles) {
        if (title.isEmpty()) {
            groupSpec = basic::Trim(groupSpec);
            continue;
        }
        const int slot = slotOfTitle(title);
        if (slot == 0 || !layoutSlots()[size_t(slot - 1)].groups)
            continue;
        groupSpec = basic::Trim(groupSpec) + QLatin1Char('+') + QString::number(colPos[size_t(slot)]);
    }
    if (groupSpec.startsWith(QLatin1Char('+')))
        groupSpec = basic::Trim(groupSpec.mid(1));
    return groupSpec;
}

EditorLayout LayoutFiles::readForEditor(const QString& folder, const QString& templateName)
{
    EditorLayout layout;
    {
        basic::SequentialFile file;
        file.open(columnFilePath(folder, templateName), basic::OpenMode::Input);
        for (size_t i = 0; i < layout.columns.size() && !file.eof(); ++i)
            layout.columns[i] = file.inputItem();
        file.close();
    }
    {
        basic::SequentialFile file;
        file.open(groupFilePath(folder, templateName), basic::OpenMode::Input);
        for (size_t i = 0; i < layout.groups.size() && !file.eof(); ++i)
            layout.groups[i] = file.inputItem();
        file.close();
    }
    return layout;
}

void LayoutFiles::write(const QString& folder, const std::array<QString, SlotCount>& columns,
                        const GroupTitles& groups, const QString& templateName)
{
    basic::writeTextFileAtomic(columnFilePath(folder, templateName),
                               joinLines(columns.data(), columns.size()));
    basic::writeTextFileAtomic(groupFilePath(folder, templateName), joinLines(groups.data(), groups.size()));
}

} // namespace importer
