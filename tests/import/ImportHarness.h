#pragma once

#include "tests/import/FakePackage.h"
#include "tests/import/FakeViews.h"

#include "app/import/ImportContext.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <utility>
#include <vector>

// One import set up in a temporary folder: a configuration folder with the two
// layout files, a company folder with "ACCDATA/setup.dta", fake windows, a fake
// engine, and the settings the stage reads.
struct ImportHarness
{
    ImportHarness();

    QTemporaryDir dir;
    FakeMainWindow window;
    FakeImportLog log;
    FakeErrorList errors;
    FakeSettingsForm settingsForm;
    FakePackage package;
    importer::ImportContext context;
    std::vector<std::pair<QString, QStringList>> commands;

    QString configDir() const { return dir.filePath(QStringLiteral("config")); }
    QString companyDir() const { return dir.filePath(QStringLiteral("company")); }

    // Column titles one per line (54 lines written, the rest empty) and grouping titles.
    void writeLayout(const QStringList& columns, const QStringList& groups);
    void writeFile(const QString& name, const QByteArray& bytes);
    // Writes an import file and names it in txtImportFile.
    QString writeImport(const QByteArray& bytes, const QString& name = QStringLiteral("import.csv"));
    void setSetting(const QString& key, const QString& value);
};

using importer::ImportContext;

// n lines "I,<account>,<n>" built by `line(i)` (i from 1), each ending in CR LF.
template <class LineOf> QByteArray linesOf(int count, LineOf line)
{
    QByteArray out;
    for (int i = 1; i <= count; ++i) {
        out += line(i);
        out += "\r\n";
    }
    return out;
}
