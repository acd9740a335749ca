#include "platform/shell/Printers.h"
#include "platform/shell/RichTextPrinting.h"

#include <QGuiApplication>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

namespace {

// The import log as the windows hold it: lines ended by CR LF.
QString logOfLines(int lines)
{
    QString text;
    for (int i = 1; i <= lines; ++i)
        text += QStringLiteral("Row %1: Account code 'A%1' does not exist in Vorlen, the line is refused and "
                               "nothing of the document is posted.\r\n")
                    .arg(i);
    return text;
}

int pdfPages(const QString& pdf)
{
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {pdf});
    if (!info.waitForFinished(30000) || info.exitCode() != 0)
        return -1;
    const auto match =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(QString::fromUtf8(info.readAllStandardOutput()));
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

// Page `page` of the PDF at 72 dots per inch, so one inch is 72 pixels.
QImage renderPage(const QString& pdf, int page, const QString& stem)
{
    const QString n = QString::number(page);
    QProcess render;
    render.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"),
                                              QStringLiteral("-png"), QStringLiteral("-singlefile"),
                                              QStringLiteral("-f"), n, QStringLiteral("-l"), n, pdf, stem});
    if (!render.waitForFinished(30000) || render.exitCode() != 0)
        return {};
    return QImage(stem + QStringLiteral(".png"));
}

// The smallest rectangle holding every pixel that is not white.
QRect inkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 200)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

} // namespace

class tst_printing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void pagesOfThePdf_data();
    void pagesOfThePdf();
    void textStaysWithinOneInchMargins();
    void formattingIsPrinted();
    void selectPrinter();

private:
    QString printToPdf(const QString& text, const QString& name, int* pagesPrinted);
    QTemporaryDir m_dir;
};

void tst_printing::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // QUILLAR_KEEP_TEST_FILES keeps the PDFs and page images to look at.
    m_dir.setAutoRemove(qEnvironmentVariableIsEmpty("QUILLAR_KEEP_TEST_FILES"));
    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        QSKIP("poppler-utils (pdfinfo, pdftoppm) are not installed: run scripts/deps");
}

QString tst_printing::printToPdf(const QString& text, const QString& name, int* pagesPrinted)
{
    QTextDocument document;
    document.setDefaultFont(QFont(QStringLiteral("Tahoma"), 10));
    document.setPlainText(text);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QString pdf = m_dir.filePath(name + QStringLiteral(".pdf"));
    printer.setOutputFileName(pdf);
    *pagesPrinted = shell::PrintRichText(document, printer, 1440, 1440, 1440, 1440);
    return pdf;
}

void tst_printing::pagesOfThePdf_data()
{
    QTest::addColumn<int>("lines");
    QTest::addColumn<bool>("severalPages");
    QTest::addRow("empty log gives one blank page") << 0 << false;
    QTest::addRow("short log fits one page") << 3 << false;
    QTest::addRow("long log runs over several pages") << 200 << true;
}

void tst_printing::pagesOfThePdf()
{
    QFETCH(int, lines);
    QFETCH(bool, severalPages);
    int printed = 0;
    const QString pdf = printToPdf(logOfLines(lines), QString::fromLatin1(QTest::currentDataTag()), &printed);
    const int pages = pdfPages(pdf);
    QCOMPARE(pages, printed);
    if (severalPages)
        QVERIFY2(pages > 1, qPrintable(QString::number(pages)));
    else
        QCOMPARE(pages, 1);
}

void tst_printing::textStaysWithinOneInchMargins()
{
    int printed = 0;
    const QString pdf = printToPdf(logOfLines(200), QStringLiteral("margins"), &printed);
    QVERIFY(printed > 1);
    for (int page : {1, printed}) {
        const QImage image = renderPage(pdf, page, m_dir.filePath(QStringLiteral("page%1").arg(page)));
        QVERIFY(!image.isNull());
        const QRect ink = inkBounds(image);
        QVERIFY2(!ink.isEmpty(), "the page holds no text");
        const QRect body = image.rect().adjusted(72, 72, -72, -72);
        QVERIFY2(body.contains(ink),
                 qPrintable(QStringLiteral("page %1: text at %2,%3 %4x%5 outside the margins")
                                .arg(page)
                                .arg(ink.x())
                                .arg(ink.y())
                                .arg(ink.width())
                                .arg(ink.height())));
        if (page == 1) // a full page reaches close to the bottom margin
            QVERIFY(ink.bottom() > body.bottom() - 40);
    }
}

void tst_printing::formattingIsPrinted()
{
    QTextDocument document;
    document.setHtml(
        QStringLiteral("<p style=\"color:#ff0000; font-size:24pt\"><b>Errors found</b></p><p>Row 1</p>"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf = m_dir.filePath(QStringLiteral("formatted.pdf"));
    printer.setOutputFileName(pdf);
    QCOMPARE(shell::PrintRichText(document, printer, 1440, 1440, 1440, 1440), 1);
    const QImage image = renderPage(pdf, 1, m_dir.filePath(QStringLiteral("formatted")));
    QVERIFY(!image.isNull());
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80)
                ++red;
        }
    QVERIFY2(red > 50, qPrintable(QString::number(red))); // the red heading is printed red
}

void tst_printing::selectPrinter()
{
    auto previous = shell::setPrinters(std::make_unique<shell::FixedPrinterCatalog>(
        QStringList{"Office Laser", "Accounts"}, QStringLiteral("Accounts")));
    QCOMPARE(shell::printers().printerNames(), (QStringList{"Office Laser", "Accounts"}));
    QCOMPARE(shell::printers().defaultPrinterName(), QStringLiteral("Accounts"));

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(m_dir.filePath(QStringLiteral("unchanged.pdf")));
    QVERIFY(!shell::selectPrinter(printer, QStringLiteral("office laser"))); // case counts
    QVERIFY(!shell::selectPrinter(printer, QString()));
    QCOMPARE(printer.outputFormat(), QPrinter::PdfFormat); // the current target stays
    shell::setPrinters(std::move(previous));
}

QTEST_MAIN(tst_printing)
#include "tst_printing.moc"
