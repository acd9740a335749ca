#include "platform/forms/WidgetFileDialogService.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>

namespace forms {

namespace {

// "*.csv" as "*.[cC][sS][vV]"; "*.*" as "*".
QString caseBlindPattern(const QString& pattern)
{
    if (pattern == QLatin1String("*.*"))
        return QStringLiteral("*");
    QString out;
    for (const QChar c : pattern) {
        const QChar lower = c.toLower();
        const QChar upper = c.toUpper();
        if (lower != upper)
            out += QLatin1Char('[') + lower + upper + QLatin1Char(']');
        else
            out += c;
    }
    return out;
}

} // namespace

QStringList nameFiltersOf(const QString& filter)
{
    QStringList names;
    for (const FileFilter& entry : parseFileFilters(filter)) {
        QStringList patterns;
        for (const QString& pattern : entry.patterns)
            patterns << caseBlindPattern(pattern);
        names << entry.description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return names;
}

std::optional<QString> WidgetFileDialogService::openFile(const FileOpenRequest& request)
{
    QFileDialog dialog(QApplication::activeWindow(), request.title, request.initialFolder);
    dialog.setObjectName(request.control);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The user sees the filter's own description, not the case-blind patterns.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    const QStringList filters = nameFiltersOf(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        const qsizetype index = request.filterIndex - 1;
        dialog.selectNameFilter(filters.at(index >= 0 && index < filters.size() ? index : 0));
    }
    if (!request.fileName.isEmpty())
        dialog.selectFile(request.fileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

} // namespace forms
