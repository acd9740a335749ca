#include "app/import/checks/FieldChecks.h"
#include "app/import/checks/FieldScans.h"

#include "app/import/ErrorListView.h"
#include "app/import/ImportContext.h"
#include "app/import/StageOne.h"
#include "app/import/ImportLine.h"
#include "app/import/ImportLogView.h"
#include "app/import/MainWindowView.h"
#include "app/import/SettingsFormView.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/RuntimeError.h"
#include "platform/settings/SettingsStore.h"

#include <QHash>
#include <QStringList>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using basic::Variant;
using importer::ImportContext;

namespace {

// Windows that only keep what the checks write.
struct NullMainWindow : importer::MainWindowView
{
    void setToolbarButtonEnabled(int, bool) override {}
    void setToolbarButtonCaption(int, const QString&) override {}
    QString txtImportFile() const override { return {}; }
    void setTxtImportFile(const QString&) override {}
    void setTxtLineNo(const QString&) override {}
    void setTxtCurrentLine(const QString&) override {}
    void setLblStatus(const QString&) override {}
    void setValidationProgressBarValue(int) override {}
    void setValidationProgressBarMax(int) override {}
    void setValidationProgressBarVisible(bool) override {}
    void playAnimation1(const QString&) override {}
    void stopAnimation1() override {}
    void setAnimation1Visible(bool) override {}
    void setErrorsFoundIMG(bool, bool) override {}
    void setNoErrorFoundIMG(bool, bool) override {}
    void setImgRedVisible(bool) override {}
    void setMnuFilenewEnabled(bool) override {}
    void setMnuFileViewErrorsEnabled(bool) override {}
    void setMnuFileStartImportEnabled(bool) override {}
    void setMnuFileStartImportCaption(const QString&) override {}
    QString lblCorvelVersion() const override { return QStringLiteral("V23"); }
    void setLblCorvelVersion(const QString&) override {}
    void setLblconame(const QString&) override {}
    QString lblVersion() const override { return {}; }
    void setLblVersion(const QString&) override {}
};

struct LogView : importer::ImportLogView
{
    QString text;
    QString txtImportText() const override { return text; }
    void setTxtImportText(const QString& t) override { text = t; }
    void appendTxtImportText(const QString& t) override { text += t; }
    void show() override {}
};

struct ListView : importer::ErrorListView
{
    QStringList rows; // "message|row|column|value"
    void clearListView1() override { rows.clear(); }
    int32_t listView1Count() const override { return int32_t(rows.size()); }
    void addListView1Row(int32_t position, const QString& d, const QString& l, const QString& c,
                         const QString& v) override
    {
        rows.insert(position - 1, d + QLatin1Char('|') + l + QLatin1Char('|') + c + QLatin1Char('|') + v);
    }
    void showModal() override {}
};

struct NullSettingsForm : importer::SettingsFormView
{
    QString txtDatapath() const override { return {}; }
    void setTxtDatapath(const QString&) override {}
    QString txtHiddenVersion() const override { return {}; }
    QString txthiddencompanyname() const override { return {}; }
    QString txtUserName() const override { return {}; }
    QString txtPassword() const override { return {}; }
    int cbxCustomerPricing() const override { return 0; }
    int cbxoverridevorlenproductdescription() const override { return 0; }
    int cbxtakevorlenpriceifpricezero() const override { return 0; }
};

class FakeRecord;

// Fields.Item(name).Value of a record.
class FakeField : public automation::Object
{
public:
    FakeField(std::shared_ptr<FakeRecord> record, QString name)
        : m_record(std::move(record)), m_name(std::move(name))
    {
    }
    QString className() const override { return QStringLiteral("Field"); }
    automation::DispId idOfName(const QString&) const override { return 0; }
    Variant invoke(automation::DispId, automation::Invoke kind, automation::Args& args,
                   const Variant& value) override;

private:
    std::shared_ptr<FakeRecord> m_record;
    QString m_name;
};

// A package record: rec(field) reads and sets, Find(False) looks the key up; a miss
// leaves a record holding only the key. Fields.Item(name) reaches the same fields.
class FakeRecord : public automation::Object
{
public:
    FakeRecord(QString keyField) : m_keyField(keyField.toUpper()) {}
    QString className() const override { return QStringLiteral("Record"); }

    void add(const QString& key, QHash<QString, Variant> fields)
    {
        fields.insert(m_keyField, Variant(key));
        m_records.insert(key, fields);
    }
    void setCurrent(QHash<QString, Variant> fields) { m_current = std::move(fields); }
    int finds = 0;

    automation::DispId idOfName(const QString& name) const override
    {
        const QString n = name.toUpper();
        if (n == QLatin1String("FIND"))
            return 1;
        if (n == QLatin1String("FIELDS"))
            return 2;
        if (n == QLatin1String("ITEM"))
            return 3;
        if (n == QLatin1String("PROGRAMTYPE"))
            return 4;
        throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember);
    }

    Variant invoke(automation::DispId id, automation::Invoke kind, automation::Args& args,
                   const Variant& value) override
    {
        switch (id) {
        case 0: {
            const QString field = basic::CStr(args.at(0)).toUpper();
            if (kind == automation::Invoke::PropertyPut) {
                m_current.insert(field, value);
                return {};
            }
            return m_current.value(field);
        }
        case 1: {
            ++finds;
            const QString key = basic::CStr(m_current.value(m_keyField));
            const bool found = m_records.contains(key);
            m_current = found ? m_records.value(key) : QHash<QString, Variant>{{m_keyField, Variant(key)}};
            return Variant(found);
        }
        case 2:
            return Variant(basic::ObjectRef(shared_from_this()));
        case 3:
            return Variant(basic::ObjectRef(std::make_shared<FakeField>(
                std::static_pointer_cast<FakeRecord>(shared_from_this()), basic::CStr(args.at(0)))));
        default:
            return Variant(int32_t(2));
        }
    }

private:
    QString m_keyField;
    QHash<QString, QHash<QString, Variant>> m_records;
    QHash<QString, Variant> m_current;
};

Variant FakeField::invoke(automation::DispId, automation::Invoke kind, automation::Args&,
                          const Variant& value)
{
    automation::Args index{Variant(m_name)};
    if (kind == automation::Invoke::PropertyPut) {
        m_record->invoke(0, kind, index, value);
        return {};
    }
    return m_record->invoke(0, automation::Invoke::PropertyGet, index, Variant());
}

// An engine object that answers the members it is given.
class ScriptObject : public automation::Object
{
public:
    using Handler = std::function<Variant(automation::Args&)>;
    ScriptObject& on(const char* name, Handler handler)
    {
        m_names.insert(QString::fromLatin1(name).toUpper(), m_handlers.size());
        m_handlers.push_back(std::move(handler));
        return *this;
    }
    QString className() const override { return QStringLiteral("Script"); }
    automation::DispId idOfName(const QString& name) const override
    {
        const auto it = m_names.constFind(name.toUpper());
        if (it == m_names.constEnd())
            throw basic::RuntimeError(basic::err::ObjectDoesntSupportMember);
        return automation::DispId(*it + 1);
    }
    Variant invoke(automation::DispId id, automation::Invoke, automation::Args& args, const Variant&) override
    {
        // The default member is the one named "Value".
        if (id == automation::DispIdValue)
            id = idOfName(QStringLiteral("Value"));
        return m_handlers.at(size_t(id - 1))(args);
    }

private:
    QHash<QString, qsizetype> m_names;
    std::vector<Handler> m_handlers;
};

// One line checked against a small company: customers C001 (currency 0) and C002
// (currency 1), product P1 at 5.00, nominals 4000 and 1200, banks 1200 (currency 0)
// and 1210 (currency 1, no nominal), invoice 42 and sales order 43 already posted.
struct Fixture
{
    NullMainWindow window;
    LogView log;
    ListView list;
    NullSettingsForm form;
    ImportContext context{window, log, list, form};
    QString edition = QStringLiteral("Aldwick Plus");
    importer::FieldChecks checks{[this] { return edition; }};
    std::shared_ptr<FakeRecord> sales = std::make_shared<FakeRecord>(QStringLiteral("ACCOUNT_REF"));
    std::shared_ptr<FakeRecord> stock = std::make_shared<FakeRecord>(QStringLiteral("STOCK_CODE"));
    std::shared_ptr<FakeRecord> nominal = std::make_shared<FakeRecord>(QStringLiteral("ACCOUNT_REF"));
    std::shared_ptr<FakeRecord> bank = std::make_shared<FakeRecord>(QStringLiteral("ACCOUNT_REF"));
    std::shared_ptr<FakeRecord> setup = std::make_shared<FakeRecord>(QStringLiteral("KEY"));
    std::shared_ptr<FakeRecord> invoices = std::make_shared<FakeRecord>(QStringLiteral("INVOICE_NUMBER"));
    std::shared_ptr<FakeRecord> orders = std::make_shared<FakeRecord>(QStringLiteral("ORDER_NUMBER"));

    Fixture()
    {
        sales->add(QStringLiteral("C001"), {{QStringLiteral("CURRENCY"), Variant(uint8_t(0))}});
        sales->add(QStringLiteral("C002"), {{QStringLiteral("CURRENCY"), Variant(uint8_t(1))}});
        stock->add(QStringLiteral("P1"), {{QStringLiteral("SALES_PRICE"), Variant(5.0)}});
        nominal->add(QStringLiteral("4000"), {});
        nominal->add(QStringLiteral("1200"), {});
        bank->add(QStringLiteral("1200"), {{QStringLiteral("CURRENCY"), Variant(uint8_t(0))}});
        bank->add(QStringLiteral("1210"), {{QStringLiteral("CURRENCY"), Variant(uint8_t(1))}});
        invoices->add(QStringLiteral("42"), {});
        orders->add(QStringLiteral("43"), {});
        setup->setCurrent({{QStringLiteral("INV_SHOW_SPECIAL_CODES"), Variant(int16_t(1))}});
        auto& package = context.state.package;
        package.SalesRec = sales;
        package.StockRec = stock;
        package.NominalRec = nominal;
        package.BankRec = bank;
        package.SetupDataRec = setup;
        package.DocumentRec = invoices;
        auto& pass = context.state.pass;
        pass.StockUnitDP = 2;
        pass.StockQtyDP = 2;
        pass.FileValid = true;
        context.state.line.Row = 7;
        for (const char* key : {"CheckRndQty", "CheckRndPrice", "CheckCashwithinvoice"})
            settings::writeSetting(QString::fromLatin1(key), QStringLiteral("0"));
    }

    // Slots 1, 2 and 8 in columns 1 to 3, then `extra` in columns 4, 5, ...
    void layout(const QString& extra)
    {
        auto& colPos = context.state.layout.ColPos;
        colPos.fill(0);
        colPos[1] = 1;
        colPos[2] = 2;
        colPos[8] = 3;
        int16_t column = 4;
        for (const QString& s : extra.split(QLatin1Char(','), Qt::SkipEmptyParts))
            colPos[size_t(s.toInt())] = column++;
    }

    // "key=value;..." of settings, plus "special=", "edition=" and "sop=1".
    void options(const QString& settingsList)
    {
        for (const QString& item : settingsList.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString key = item.section(QLatin1Char('='), 0, 0);
            const QString value = item.section(QLatin1Char('='), 1);
            if (key == QLatin1String("special"))
                setup->setCurrent({{QStringLiteral("INV_SHOW_SPECIAL_CODES"), Variant(value)}});
            else if (key == QLatin1String("edition"))
                edition = value;
            else if (key == QLatin1String("sop")) {
                context.state.pass.ImportToSop = int16_t(value.toInt());
                context.state.package.DocumentRec = value == QLatin1String("1") ? orders : invoices;
            } else
                settings::writeSetting(key, value);
        }
    }

    void line(const QString& text)
    {
        importer::splitImportLine(text, context.state.line.LineFields);
        auto& pass = context.state.pass;
        pass.RateValid = pass.AmountValid = pass.QtyValid = true;
        pass.PaymentValid = pass.PriceValid = pass.DiscPriceValid = true;
    }
};

// Entries as "message|column|value" (the row is always 7 here).
QStringList entries(const ListView& list)
{
    QStringList out;
    for (const QString& row : list.rows) {
        QStringList parts = row.split(QLatin1Char('|'));
        if (parts.size() == 4 && parts[1] == QLatin1String("7"))
            parts.removeAt(1);
        out << parts.join(QLatin1Char('|'));
    }
    return out;
}

} // namespace

class tst_importchecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void scans_data();
    void scans();
    void lineChecks_data();
    void lineChecks();
    void transactionNo_data();
    void transactionNo();
    void endsThePass_data();
    void endsThePass();
    void validityFlagsAndFileValid();
    void specialCodeS3KeepsLogLineButNotBreakInEntries();
    void bankCurrencyNeedsTheLinesCustomer_data();
    void bankCurrencyNeedsTheLinesCustomer();
    void settingsAreReadAgainByTheNextPass();
    void emptyFieldsBecomeZeroInTheLine();
    void nonNumericRangeValueEndsStageOne();
};

void tst_importchecks::scans_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<bool>("extraPoint");
    QTest::addColumn<bool>("bad");
    QTest::addColumn<int>("points");

    QTest::addRow("plain") << "12.50" << 2 << false << false << 1;
    QTest::addRow("no point") << "125" << 0 << false << false << 0;
    QTest::addRow("two points") << "1.2.3" << 2 << true << false << 2;
    QTest::addRow("letters counted as decimals") << "1.2a" << 2 << false << true << 1;
    QTest::addRow("blank after the point passed over") << "10.5 5" << 2 << false << true << 1;
    QTest::addRow("minus sign is bad") << "-5" << 0 << false << true << 0;
    QTest::addRow("20-character window") << "1234567890123456789.123" << 0 << false << false << 1;
    QTest::addRow("letter past the window unseen")
        << QString(21, QLatin1Char('1')) + QLatin1Char('a') << 0 << false << false << 0;
    QTest::addRow("empty") << "" << 0 << false << false << 0;
}

void tst_importchecks::scans()
{
    QFETCH(QString, text);
    const auto d = importer::checks::decimalScan(text);
    const auto c = importer::checks::characterScan(text);
    QTEST(d.decimals, "decimals");
    QTEST(d.extraPoint, "extraPoint");
    QTEST(c.bad, "bad");
    QTEST(c.points, "points");
}

void tst_importchecks::lineChecks_data()
{
    QTest::addColumn<QString>("layout"); // slots in columns 4, 5, ...
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("expected");

    // Account and product.
    QTest::addRow("clean line") << ""
                                << ""
                                << "I,C001,P1" << QStringList{};
    QTest::addRow("account of 9 characters, no lookup")
        << ""
        << ""
        << "I,C00123456,P1"
        << QStringList{"Account No C00123456 greater than 8 characters on row 7 column2.|2|C00123456"};
    QTest::addRow("unknown account") << ""
                                     << ""
                                     << "I,C009,P1"
                                     << QStringList{
                                            "Account No C009 does not exist on row 7 column2.|2|C009"};
    QTest::addRow("stock code over 30")
        << ""
        << ""
        << "I,C001," + QString(31, QLatin1Char('X'))
        << QStringList{"Stock Code " + QString(31, QLatin1Char('X')) +
                       " is greater than 30 characters.  Row 7 column 3|3|" + QString(31, QLatin1Char('X'))};
    QTest::addRow("unknown product") << ""
                                     << ""
                                     << "I,C001,P9"
                                     << QStringList{"Stock Code P9 does not exist on row 7 column 3.|3|P9"};
    QTest::addRow("lower-case m is looked up")
        << ""
        << ""
        << "I,C001,m" << QStringList{"Stock Code m does not exist on row 7 column 3.|3|m"};
    QTest::addRow("S3 special codes off, not Ferriby")
        << "28"
        << "special=0"
        << "I,C001,S3,Text"
        << QStringList{"Special Code S3 not allowed, turned off in settings.  Row 7 column 3|3|S3",
                       "Special Code S3 not allowed in this version of Vorlen row 7 column 3.|3|S3"};
    QTest::addRow("S3 in Ferriby") << "28"
                                   << "edition=Ferriby"
                                   << "I,C001,S3,Text" << QStringList{};
    QTest::addRow("service invoice in Aldwick")
        << ""
        << "edition=Aldwick"
        << "I,C001,"
        << QStringList{"Service Invoices are not allowed in this version of Vorlen.  row 7 column 3.|3|"};
    QTest::addRow("special code without description")
        << ""
        << ""
        << "I,C001,S1"
        << QStringList{"Special codes must have product description supplied S1 Row 7 column 3.|3|S1"};

    // Decimal places.
    QTest::addRow("quantity 1.2.3")
        << "11"
        << ""
        << "I,C001,P1,1.2.3"
        << QStringList{"More than one decimal point found1.2.3 rounding not turned on in "
                       "settings. Row 7 column 4.|4|1.2.3",
                       "2 decimal points found in quantity 1.2.3. Row 7 column 4.|4|1.2.3"};
    QTest::addRow("quantity too many decimals")
        << "11"
        << ""
        << "I,C001,P1,1.234"
        << QStringList{"Too many decimals on Quantity 1.234 rounding not turned on in settings. Row 7 column "
                       "4.|4|1.234"};
    QTest::addRow("quantity rounding on") << "11"
                                          << "CheckRndQty=1"
                                          << "I,C001,P1,1.234" << QStringList{};
    QTest::addRow("unit price too many decimals")
        << "12"
        << ""
        << "I,C001,P1,1.234"
        << QStringList{"Too many decimals on Unit Price 1.234 rounding not turned on in settings. Row 7 "
                       "column 4.|4|1.234"};
    QTest::addRow("unit price rounding on") << "12"
                                            << "CheckRndPrice=1"
                                            << "I,C001,P1,1.234" << QStringList{};
    QTest::addRow("payment value 10.555")
        << "18"
        << ""
        << "I,C001,P1,10.555"
        << QStringList{
               "Too many decimals on Payment Value 10.555 rounding not turned on in settings. Row 7 column "
               "4.|4|10.555"};
    QTest::addRow("payment 10.5 5 refused by characters only")
        << "18"
        << ""
        << "I,C001,P1,10.5 5"
        << QStringList{"Characters in the payment field 10.5 5. Row 7 column 4.|4|10.5 5"};
    QTest::addRow("discount rate seven decimals")
        << "25"
        << ""
        << "I,C001,P1,1.1234567"
        << QStringList{"Too many decimals on Discount Rate 1.1234567 rounding not turned on in settings. Row "
                       "7 column "
                       "4.|4|1.1234567"};
    QTest::addRow("carriage net two points")
        << "48"
        << ""
        << "I,C001,P1,1.2.3"
        << QStringList{"More than one decimal point found in carriage net 1.2.3. Row 7 column 4.|4|1.2.3",
                       "Carriage Net amount 1.2.3 is not numeric on row 7 column4.|4|1.2.3"};
    QTest::addRow("carriage tax amount held to six places")
        << "50"
        << ""
        << "I,C001,P1,1.1234567"
        << QStringList{
               "Too many decimals on Carriage net 1.1234567 rounding not turned on in settings. Row 7 column "
               "4.|4|1.1234567"};
    QTest::addRow("discount amount two points")
        << "26"
        << ""
        << "I,C001,P1,1.2.3"
        << QStringList{"More than one decimal point found in Discount Amount 1.2.3 rounding not turned on in "
                       "settings. "
                       "Row 7 column 4.|4|1.2.3",
                       "2 Decimal points in the discount amount field1.2.3. Row 7 column 4.|4|1.2.3",
                       "2 decimal places found in the discount amount field 1.2.3. Row 7 column 4.|4|1.2.3"};

    // Characters.
    QTest::addRow("negative quantity")
        << "11"
        << ""
        << "I,C001,P1,-5" << QStringList{"Characters in the quantity field -5. Row 7 column 4.|4|-5"};
    QTest::addRow("unit price letters")
        << "12"
        << ""
        << "I,C001,P1,5a" << QStringList{"Characters in the unit price field 5a. Row 7 column 4.|4|5a"};
    QTest::addRow("discount rate percent sign")
        << "25"
        << ""
        << "I,C001,P1,5%"
        << QStringList{"Characters in the discount rate 5%. Row 7 column 4.|4|5%",
                       "Characters in the discount rate field 5%. Row 7 column 4.|4|5%"};
    QTest::addRow("net value discount 1.2.3")
        << "53"
        << ""
        << "I,C001,P1,1.2.3"
        << QStringList{"2 Decimal points in the discount rate field1.2.3. Row 7 column 4.|4|1.2.3"};
    QTest::addRow("net value discount with percent sign")
        << "53"
        << ""
        << "I,C001,P1,5%"
        << QStringList{"Characters in the net value discount amount 5%. Row 7 column 4.|4|5%"};

    // Message lines.
    QTest::addRow("M line price 0.00 passes") << "12"
                                              << ""
                                              << "I,C001,M,0.00" << QStringList{};
    QTest::addRow("M line price 2.50")
        << "12"
        << ""
        << "I,C001,M,2.50" << QStringList{"Message line has a price  2.50 Row 7 column 4.|4|2.50"};
    QTest::addRow("M line quantity") << "11"
                                     << ""
                                     << "I,C001,M,3"
                                     << QStringList{"Message line has a quantity  3 Row 7 column 4.|4|3"};
    QTest::addRow("M line discount rate and amount")
        << "25,26"
        << ""
        << "I,C001,M,0,2" << QStringList{"Message line has a discount amount  2 Row 7 column 5.|5|2"};

    // Type, dates, lengths.
    QTest::addRow("invalid transaction type")
        << ""
        << ""
        << "X,C001,P1" << QStringList{"Invalid Transaction Type  X should be I or C.  Row 7 column 1.|1|X"};
    QTest::addRow("iors 2 is an invoice import: type checked")
        << ""
        << "sop=2"
        << "X,C001,P1" << QStringList{"Invalid Transaction Type  X should be I or C.  Row 7 column 1.|1|X"};
    QTest::addRow("lower-case types are valid") << ""
                                                << ""
                                                << "c,C001,P1" << QStringList{};
    QTest::addRow("transaction date 311224") << "3"
                                             << ""
                                             << "I,C001,P1,311224" << QStringList{};
    QTest::addRow("transaction date year first")
        << "3"
        << ""
        << "I,C001,P1,20241231" << QStringList{"Date is Invalid 20241231 Row 7 column 4.|4|20241231"};
    QTest::addRow("order number letters in SOP")
        << "4"
        << "sop=1"
        << "I,C001,P1,ABC"
        << QStringList{"SOP Import - Order number must be numeric ABC Row 7 column 4.|4|ABC"};
    QTest::addRow("order number letters in invoice import") << "4"
                                                            << ""
                                                            << "I,C001,P1,ABC" << QStringList{};
    QTest::addRow("order number 8 characters")
        << "4"
        << ""
        << "I,C001,P1,12345678"
        << QStringList{"Order number cannot be more than 7 characters 12345678 Row 7 column 4.|4|12345678"};
    QTest::addRow("payment reference 9 characters")
        << "35"
        << ""
        << "I,C001,P1,123456789"
        << QStringList{
               "Payment Reference cannot be longer than 8 characters 123456789 Row 7 column 4.|4|123456789"};
    QTest::addRow("notes 1 of 60 passes") << "5"
                                          << ""
                                          << "I,C001,P1," + QString(60, QLatin1Char('n')) << QStringList{};
    QTest::addRow("notes 1 of 61") << "5"
                                   << ""
                                   << "I,C001,P1," + QString(61, QLatin1Char('n'))
                                   << QStringList{"Notes field 1  cannot be more than 60 characters " +
                                                  QString(61, QLatin1Char('n')) + " Row 7 column 4.|4|" +
                                                  QString(61, QLatin1Char('n'))};
    QTest::addRow("comment 2 checked before comment 1")
        << "9,10"
        << ""
        << "I,C001,P1," + QString(61, QLatin1Char('a')) + "," + QString(61, QLatin1Char('b'))
        << QStringList{"Comment field 2 cannot be more than 60 characters " + QString(61, QLatin1Char('b')) +
                           " Row 7 column 5.|5|" + QString(61, QLatin1Char('b')),
                       "Comment field 1 cannot be more than 60 characters " + QString(61, QLatin1Char('a')) +
                           " Row 7 column 4.|4|" + QString(61, QLatin1Char('a'))};
    QTest::addRow("line information 21")
        << "45"
        << ""
        << "I,C001,P1," + QString(21, QLatin1Char('i'))
        << QStringList{"Line information  Invalid. cannot be longer than 20 characters" +
                       QString(21, QLatin1Char('i')) + " Row 7 column 4.|4|" + QString(21, QLatin1Char('i'))};
    QTest::addRow("net value description 61")
        << "54"
        << ""
        << "I,C001,P1," + QString(61, QLatin1Char('d'))
        << QStringList{"Net value discount description  Invalid. cannot be longer than 60 characters" +
                       QString(61, QLatin1Char('d')) + " Row 7 column 4.|4|" + QString(61, QLatin1Char('d'))};

    // Conversions and ranges.
    QTest::addRow("courier 0.6 rounds to 1") << "33"
                                             << ""
                                             << "I,C001,P1,0.6" << QStringList{};
    QTest::addRow("courier 99.5 rounds to 100")
        << "33"
        << ""
        << "I,C001,P1,99.5"
        << QStringList{"Courier Number Invalid. Must be in range 1-99 99.5 Row 7 column 4.|4|99.5"};
    QTest::addRow("empty courier becomes 0")
        << "33"
        << ""
        << "I,C001,P1," << QStringList{"Courier Number Invalid. Must be in range 1-99 0 Row 7 column 4.|4|0"};
    QTest::addRow("global department 1000") << "36"
                                            << ""
                                            << "I,C001,P1,1000"
                                            << QStringList{"Global Department Number Invalid. Needs to be in "
                                                           "the range 0-999 1000 Row 7 column 4.|4|1000"};
    QTest::addRow("global tax code 150")
        << "39"
        << ""
        << "I,C001,P1,150"
        << QStringList{"Global Tax Code Invalid. Needs to be in the range 0-99150 Row 7 column 4.|4|150"};
    QTest::addRow("global tax code AB")
        << "39"
        << ""
        << "I,C001,P1,AB"
        << QStringList{"Global Tax Code Invalid. Needs to be in the range 0-99 AB Row 7 column 4.|4|AB"};
    QTest::addRow("global tax code 2.5 half to even") << "39"
                                                      << ""
                                                      << "I,C001,P1,2.5" << QStringList{};
    QTest::addRow("despatch date in invoice import")
        << "40"
        << ""
        << "I,C001,P1,"
        << QStringList{
               "Despatch Due Date For SOP Import Only! Remove from file structure  Row 7 column 4.|4|"};
    QTest::addRow("despatch date empty in SOP") << "40"
                                                << "sop=1"
                                                << "I,C001,P1," << QStringList{};
    QTest::addRow("despatch date invalid in SOP")
        << "40"
        << "sop=1"
        << "I,C001,P1,991399" << QStringList{"Despatch Due Date is Invalid 991399 Row 7 column 4.|4|991399"};

    // Settlement terms.
    QTest::addRow("settlement 99.9999 with days") << "41,42"
                                                  << ""
                                                  << "I,C001,P1,99.9999,30" << QStringList{};
    QTest::addRow("settlement rate 99.99991")
        << "41,42"
        << ""
        << "I,C001,P1,99.99991,30"
        << QStringList{
               "Settlement Discount rate Invalid. Needs to be in the range 0-99.9999 99.99991 Row 7 column "
               "4.|4|99.99991"};
    QTest::addRow("settlement rate letters")
        << "41,42"
        << ""
        << "I,C001,P1,AB,30"
        << QStringList{"Settlement Discount rate not numeric. Needs to be in the range 0-99.9999 AB Row 7 "
                       "column 4.|4|AB"};
    QTest::addRow("settlement rate without due days")
        << "41"
        << ""
        << "I,C001,P1,"
        << QStringList{"Cannot have Settlemment Discount without Settlement Due Days 0 Row 7 column 4.|4|0"};
    QTest::addRow("due days without rate")
        << "42"
        << ""
        << "I,C001,P1,12.4"
        << QStringList{
               "Cannot have Settlement Due Days without Settlemment Discount 12.4 Row 7 column 4.|4|12.4"};
    QTest::addRow("due days 99.5")
        << "41,42"
        << ""
        << "I,C001,P1,2,99.5"
        << QStringList{
               "Settlement Due Days Invalid. Needs to be in the range 0-99 99.5 Row 7 column 5.|5|99.5"};
    QTest::addRow("due days letters")
        << "41,42"
        << ""
        << "I,C001,P1,2,AB"
        << QStringList{
               "Settlement Due Days are not numeric. Needs to be in the range 0-99 AB Row 7 column 5.|5|AB"};

    // Discounts.
    QTest::addRow("rate and amount both")
        << "11,12,25,26"
        << ""
        << "I,C001,P1,2,5,5,2"
        << QStringList{"Cannot have both discount amount and discount rate 5 Rate2 Row 7 column 6.|6|5"};
    QTest::addRow("rate 0 with amount") << "11,12,25,26"
                                        << ""
                                        << "I,C001,P1,2,5,0,10" << QStringList{};
    QTest::addRow("rate 12.5 within bound") << "25"
                                            << ""
                                            << "I,C001,P1,12.5" << QStringList{};
    QTest::addRow("rate above bound")
        << "25"
        << ""
        << "I,C001,P1,100"
        << QStringList{"Discount rate must in range 0.00 to 9.999999 100 Row 7 column 4.|4|100"};
    QTest::addRow("amount above line value")
        << "11,12,26"
        << ""
        << "I,C001,P1,2,5,10.01"
        << QStringList{"Discount amount cannot be greater than line value10.01 Row 7 column 6.|6|10.01"};
    QTest::addRow("amount equal to line value") << "11,12,26"
                                                << ""
                                                << "I,C001,P1,2,5,10" << QStringList{};
    QTest::addRow("amount above product price")
        << "11,26"
        << ""
        << "I,C001,P1,2,10.01"
        << QStringList{"Discount amount cannot be greater than line value 10.01 Row 7 column 5.|5|10.01"};
    QTest::addRow("amount not held against a product not found")
        << "11,26"
        << ""
        << "I,C001,P9,2,10.01" << QStringList{"Stock Code P9 does not exist on row 7 column 3.|3|P9"};
    QTest::addRow("discounted price above unit price")
        << "12,27"
        << ""
        << "I,C001,P1,5,6"
        << QStringList{"Unit Price must be greater than discounted unit price 6 Row 7 column 5.|5|6"};
    QTest::addRow("discounted price equal passes") << "12,27"
                                                   << ""
                                                   << "I,C001,P1,5,5" << QStringList{};
    QTest::addRow("discounted price without unit price")
        << "27"
        << ""
        << "I,C001,P1,4"
        << QStringList{
               "Cannot give a discounted Unit Price without giving a unit price 4 Row 7 column 4.|4|4"};
    QTest::addRow("discounted price with rate and amount columns")
        << "12,25,26,27"
        << ""
        << "I,C001,P1,5,,,4"
        << QStringList{"Cannot have Discounted Price & line discount percent 4 Row 7 column 7.|7|4",
                       "Cannot have Discounted Price & line discount value 4 Row 7 column 7.|7|4"};

    // Payment: invoice, credit note, sales order, cash with invoice.
    QTest::addRow("payment on invoice") << "18"
                                        << ""
                                        << "I,C001,P1,10" << QStringList{};
    QTest::addRow("payment on credit note")
        << "18"
        << ""
        << "C,C001,P1,10" << QStringList{"Cannot have a payment with a credit 10 Row 7 column 4.|4|10"};
    QTest::addRow("payment on lower-case credit note")
        << "18"
        << ""
        << "c,C001,P1,10" << QStringList{"Cannot have a payment with a credit 10 Row 7 column 4.|4|10"};
    QTest::addRow("payment on credit note, iors 2")
        << "18"
        << "sop=2"
        << "C,C001,P1,10" << QStringList{"Cannot have a payment with a credit 10 Row 7 column 4.|4|10"};
    QTest::addRow("zero payment on credit note") << "18"
                                                 << ""
                                                 << "C,C001,P1,0" << QStringList{};
    QTest::addRow("payment on sales order")
        << "18"
        << "sop=1"
        << "I,C001,P1,10" << QStringList{"Payment with SOP orders is not supported 10 Row 7 column 4.|4|10"};
    QTest::addRow("payment on invoice with cash with invoice")
        << "18"
        << "CheckCashwithinvoice=1"
        << "I,C001,P1,10"
        << QStringList{"Payment value not allowed if cash with invoice is ticked 10 Row 7 column 4.|4|10"};
    QTest::addRow("payment on sales order with cash with invoice")
        << "18"
        << "sop=1;CheckCashwithinvoice=1"
        << "I,C001,P1,10"
        << QStringList{"Payment with SOP orders is not supported 10 Row 7 column 4.|4|10",
                       "Payment value not allowed if cash with invoice is ticked 10 Row 7 column 4.|4|10"};

    // Nominal and department codes.
    QTest::addRow("global nominal unknown")
        << "38"
        << ""
        << "I,C001,P1,9999" << QStringList{"NL Account No 9999 does not exist on row 7 column4.|4|9999"};
    QTest::addRow("global nominal 9 characters")
        << "38"
        << ""
        << "I,C001,P1,123456789"
        << QStringList{"Global Nominal Code cannot be longer than 8 characters 123456789 Row 7 column "
                       "4.|4|123456789"};
    QTest::addRow("item nominal empty on M line") << "43"
                                                  << ""
                                                  << "I,C001,M," << QStringList{};
    QTest::addRow("item nominal empty on product line")
        << "43"
        << ""
        << "I,C001,P1," << QStringList{"Line NL Account No  does not exist on row 7 column4.|4|"};
    QTest::addRow("item nominal 9 characters")
        << "43"
        << ""
        << "I,C001,P1,123456789"
        << QStringList{"Item Nominal Code Invalid. cannot be longer than 8 characters123456789 Row 7 column "
                       "4.|4|123456789"};
    QTest::addRow("item department 1000")
        << "44"
        << ""
        << "I,C001,P1,1000"
        << QStringList{"Item department Invalid. Needs to be in the range 0-9991000 Row 7 column 4.|4|1000"};
    QTest::addRow("item department empty") << "44"
                                           << ""
                                           << "I,C001,P1," << QStringList{};

    // Tax codes.
    QTest::addRow("line tax code T1")
        << "46"
        << ""
        << "I,C001,P1,T1"
        << QStringList{"Line Tax code must be numeric and in range 0-99T1 Row 7 column 4.|4|T1"};
    QTest::addRow("line tax code 100")
        << "46"
        << ""
        << "I,C001,P1,100" << QStringList{"Line Tax code must be in range 0-99100 Row 7 column 4.|4|100"};
    QTest::addRow("line tax code empty") << "46"
                                         << ""
                                         << "I,C001,P1," << QStringList{};

    // Carriage.
    QTest::addRow("carriage dept 1000")
        << "47"
        << ""
        << "I,C001,P1,1000"
        << QStringList{"Carriage Dept code must be in range 0-9991000 Row 7 column 4.|4|1000"};
    QTest::addRow("carriage dept AB")
        << "47"
        << ""
        << "I,C001,P1,AB"
        << QStringList{"Carriage Dept code must be numeric and in range 0-999AB Row 7 column 4.|4|AB"};
    QTest::addRow("carriage tax code 100")
        << "51"
        << ""
        << "I,C001,P1,100" << QStringList{"Carriage Tax code must be in range 0-99100 Row 7 column 4.|4|100"};
    QTest::addRow("carriage nominal 9 characters, no lookup")
        << "49"
        << ""
        << "I,C001,P1,123456789"
        << QStringList{"Carriage Nominal Code cannot be longer than 8 characters 123456789 Row 7 column "
                       "4.|4|123456789"};
    QTest::addRow("carriage nominal unknown")
        << "49"
        << ""
        << "I,C001,P1,9999"
        << QStringList{"Carriage NL Account No 9999 does not exist on row 7 column4.|4|9999"};
    QTest::addRow("carriage nominal empty") << "49"
                                            << ""
                                            << "I,C001,P1," << QStringList{};
    QTest::addRow("carriage net 12.5") << "48"
                                       << ""
                                       << "I,C001,P1,12.5" << QStringList{};
    QTest::addRow("carriage net letters")
        << "48"
        << ""
        << "I,C001,P1,AB" << QStringList{"Carriage Net amount AB is not numeric on row 7 column4.|4|AB"};
    QTest::addRow("carriage tax amount letters")
        << "50"
        << "CheckRndPrice=1"
        << "I,C001,P1,AB" << QStringList{"Carriage Tax amount AB is not numeric on row 7 column4.|4|AB"};

    // Bank account and currency.
    QTest::addRow("bank in customer currency") << "52"
                                               << ""
                                               << "I,C001,P1,1200" << QStringList{};
    QTest::addRow("bank in another currency")
        << "52"
        << ""
        << "I,C002,P1,1200"
        << QStringList{"Bank Account No 1200 not same currency as customer 7 column4.|4|1200"};
    QTest::addRow("bank without nominal, other currency")
        << "52"
        << ""
        << "I,C001,P1,1210"
        << QStringList{"Bank - NL Account No 1210 does not exist on row 7 column4.|4|1210",
                       "Bank Account No 1210 not same currency as customer 7 column4.|4|1210"};
    QTest::addRow("empty bank looked up as empty")
        << "52"
        << ""
        << "I,C001,P1,"
        << QStringList{"Bank - NL Account No  does not exist on row 7 column4.|4|",
                       "Bank Account No  does not exist on row 7 column4.|4|"};
    QTest::addRow("bank 9 characters")
        << "52"
        << ""
        << "I,C001,P1,123456789"
        << QStringList{
               "Bank Nominal Code cannot be longer than 8 characters 123456789 Row 7 column 4.|4|123456789"};
}

void tst_importchecks::lineChecks()
{
    QFETCH(QString, layout);
    QFETCH(QString, options);
    QFETCH(QString, line);
    QFETCH(QStringList, expected);

    Fixture f;
    f.layout(layout);
    f.options(options);
    f.line(line);
    try {
        f.checks.checkFields(f.context);
    } catch (const basic::RuntimeError& e) {
        QFAIL(qPrintable(
            QStringLiteral("run-time error %1 at %2").arg(e.number()).arg(f.context.state.pass.CurrentStep)));
    }
    QCOMPARE(entries(f.list), expected);
    QCOMPARE(f.context.state.pass.ErrCount, int32_t(expected.size()));
}

void tst_importchecks::transactionNo_data()
{
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("expected");
    QTest::addColumn<bool>("fileValid");
    QTest::addColumn<int>("lookups");

    QTest::addRow("12.5")
        << ""
        << "12.5"
        << QStringList{"1 decimal points found in transaction number, no must be an integer. 12.5. "
                       "Row 7 column 4.|4|12.5"}
        << true << 0;
    QTest::addRow("12a") << ""
                         << "12a" << QStringList{"Transaction No must be numeric 12a. Row 7 column 4.|4|12a"}
                         << false << 0;
    QTest::addRow("empty") << ""
                           << "" << QStringList{"Transaction no cannot be empty . Row 7 column 4.|4|"} << true
                           << 0;
    QTest::addRow("zero") << ""
                          << "0" << QStringList{"Transaction no cannot be 0. 0. Row 7 column 4.|4|0"} << true
                          << 0;
    QTest::addRow("10000000")
        << ""
        << "10000000"
        << QStringList{"Transaction no cannot be greater than 9999999. 10000000. Row 7 column "
                       "4.|4|10000000"}
        << true << 0;
    QTest::addRow("9999999 without lookup") << ""
                                            << "9999999" << QStringList{} << true << 0;
    QTest::addRow("10000 without lookup") << ""
                                          << "10000" << QStringList{} << true << 0;
    QTest::addRow("invoice 42 already posted")
        << ""
        << "42" << QStringList{"Transaction no already in Vorlen invoicing. 42. Row 7 column 4.|4|42"}
        << false << 1;
    QTest::addRow("invoice 41 free") << ""
                                     << "41" << QStringList{} << true << 1;
    QTest::addRow("order 43 already posted")
        << "sop=1"
        << "43" << QStringList{"Transaction no already in Vorlen SOP. 43. Row 7 column 4.|4|43"} << false
        << 1;
    QTest::addRow("order number 42 not an order") << "sop=1"
                                                  << "42" << QStringList{} << true << 1;
}

void tst_importchecks::transactionNo()
{
    QFETCH(QString, options);
    QFETCH(QString, value);
    QFETCH(QStringList, expected);

    Fixture f;
    f.layout(QStringLiteral("29"));
    f.options(options);
    f.line(QStringLiteral("I,C001,P1,") + value);
    f.checks.validateTransactionNo(f.context);
    QCOMPARE(entries(f.list), expected);
    QTEST(f.context.state.pass.FileValid, "fileValid");
    QTEST(f.invoices->finds + f.orders->finds, "lookups");
}

void tst_importchecks::endsThePass_data()
{
    QTest::addColumn<QString>("layout");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("error");

    QTest::addRow("courier letters") << "33"
                                     << ""
                                     << "I,C001,P1,AB" << basic::err::TypeMismatch;
    QTest::addRow("global department letters") << "36"
                                               << ""
                                               << "I,C001,P1,AB" << basic::err::TypeMismatch;
    QTest::addRow("item department letters") << "44"
                                             << ""
                                             << "I,C001,P1,AB" << basic::err::TypeMismatch;
    QTest::addRow("courier overflow") << "33"
                                      << ""
                                      << "I,C001,P1,40000" << basic::err::Overflow;
    QTest::addRow("global tax code overflow") << "39"
                                              << ""
                                              << "I,C001,P1,40000" << basic::err::Overflow;
    QTest::addRow("due days overflow") << "41,42"
                                       << ""
                                       << "I,C001,P1,1,40000" << basic::err::Overflow;
    QTest::addRow("line tax code overflow") << "46"
                                            << ""
                                            << "I,C001,P1,40000" << basic::err::Overflow;
    QTest::addRow("discount amount with empty quantity") << "11,12,26"
                                                         << ""
                                                         << "I,C001,P1,,5,1" << basic::err::TypeMismatch;
    QTest::addRow("discounted price with empty unit price") << "12,27"
                                                            << ""
                                                            << "I,C001,P1,,4" << basic::err::TypeMismatch;
    QTest::addRow("rounding option not a number") << ""
                                                  << "CheckRndQty=yes"
                                                  << "I,C001,P1" << basic::err::TypeMismatch;
    QTest::addRow("cash with invoice option not a number") << "18"
                                                           << "CheckCashwithinvoice=x"
                                                           << "I,C001,P1,1" << basic::err::TypeMismatch;
    QTest::addRow("M line amount with letters past the window")
        << "12"
        << ""
        << "I,C001,M," + QString(21, QLatin1Char('1')) + "a" << basic::err::TypeMismatch;
}

void tst_importchecks::endsThePass()
{
    QFETCH(QString, layout);
    QFETCH(QString, options);
    QFETCH(QString, line);
    QFETCH(int, error);

    Fixture f;
    f.layout(layout);
    f.options(options);
    f.line(line);
    int raised = 0;
    try {
        f.checks.checkFields(f.context);
    } catch (const basic::RuntimeError& e) {
        raised = e.number();
    }
    QCOMPARE(raised, error);
}

void tst_importchecks::validityFlagsAndFileValid()
{
    Fixture f;
    // Quantity 1.2.3 clears QtyValid but leaves FileValid; a discount rate of 5%
    // clears RateValid and FileValid, so the rate's range check does not run.
    f.layout(QStringLiteral("11,25"));
    f.line(QStringLiteral("I,C001,P1,1.2.3,5%"));
    f.checks.checkFields(f.context);
    const auto& pass = f.context.state.pass;
    QCOMPARE(pass.QtyValid, false);
    QCOMPARE(pass.RateValid, false);
    QCOMPARE(pass.FileValid, false);
    QCOMPARE(pass.PriceValid, true);
    QCOMPARE(pass.CurrentStep, QStringLiteral("valcarend"));

    Fixture g;
    g.layout(QStringLiteral("11"));
    g.line(QStringLiteral("I,C001,P1,1.2.3"));
    g.checks.checkFields(g.context);
    QCOMPARE(g.context.state.pass.FileValid, true);
    QCOMPARE(g.checks.productFound(), true);
}

void tst_importchecks::specialCodeS3KeepsLogLineButNotBreakInEntries()
{
    Fixture f;
    f.layout(QStringLiteral("28"));
    f.context.state.batch.BatchRunning = true;
    f.line(QStringLiteral("I,C001,S3,Text"));
    f.checks.checkFields(f.context);
    const QString text =
        QStringLiteral("Special Code S3 not allowed in this version of Vorlen row 7 column 3.");
    QCOMPARE(f.log.text, text + QStringLiteral("\r\n\r\n"));
    QCOMPARE(f.list.rows, QStringList{text + QStringLiteral("|7|3|S3")});
    QCOMPARE(f.context.state.batch.BatchErrors,
             std::vector<QString>{text + QStringLiteral("  row 7 Column 3")});
}

void tst_importchecks::bankCurrencyNeedsTheLinesCustomer_data()
{
    QTest::addColumn<QString>("account");
    QTest::addColumn<QStringList>("expected");
    QTest::addRow("unknown customer")
        << "C404"
        << QStringList{"Account No C404 does not exist on row 7 column2.|2|C404",
                       "Bank - NL Account No 1210 does not exist on row 7 column4.|4|1210"};
    QTest::addRow("account too long, not looked up")
        << "C00123456"
        << QStringList{"Account No C00123456 greater than 8 characters on row 7 column2.|2|C00123456",
                       "Bank - NL Account No 1210 does not exist on row 7 column4.|4|1210"};
}

void tst_importchecks::bankCurrencyNeedsTheLinesCustomer()
{
    QFETCH(QString, account);
    QFETCH(QStringList, expected);
    Fixture f;
    f.layout(QStringLiteral("52"));
    // Customer C002 (currency 1) on one line, then a line without a customer and
    // the bank account 1210 (currency 1): neither the earlier customer nor an
    // empty currency is compared with the bank's.
    f.line(QStringLiteral("I,C002,P1,1210"));
    f.checks.checkFields(f.context);
    QCOMPARE(f.list.rows.size(), 1); // only the missing nominal of 1210
    f.list.rows.clear();
    f.context.state.pass.ErrCount = 0;
    f.line(QStringLiteral("I,%1,P1,1210").arg(account));
    f.checks.checkFields(f.context);
    QCOMPARE(entries(f.list), expected);
    QCOMPARE(f.checks.customerFound(), false);
}

void tst_importchecks::settingsAreReadAgainByTheNextPass()
{
    // The checks read a setting once per pass; a pass makes its own SetupData
    // record, and a setting changed before the next pass is what that pass sees.
    Fixture f;
    f.layout(QStringLiteral("12"));
    const auto entriesOfLine = [&f] {
        f.list.rows.clear();
        f.context.state.pass.ErrCount = 0;
        f.line(QStringLiteral("I,C001,P1,1.234"));
        f.checks.checkFields(f.context);
        return f.list.rows.size();
    };
    QCOMPARE(entriesOfLine(), 1);
    settings::writeSetting(QStringLiteral("CheckRndPrice"), QStringLiteral("1"));
    QCOMPARE(entriesOfLine(), 1); // the same pass

    auto nextPass = std::make_shared<FakeRecord>(QStringLiteral("KEY"));
    nextPass->setCurrent({{QStringLiteral("INV_SHOW_SPECIAL_CODES"), Variant(int16_t(1))}});
    f.context.state.package.SetupDataRec = nextPass;
    QCOMPARE(entriesOfLine(), 0);
    settings::writeSetting(QStringLiteral("CheckRndPrice"), QStringLiteral("0"));
}

void tst_importchecks::emptyFieldsBecomeZeroInTheLine()
{
    Fixture f;
    f.layout(QStringLiteral("33,36,39,41,42,44"));
    f.line(QStringLiteral("I,C001,P1,5,,,,,"));
    f.checks.checkFields(f.context);
    const auto& fields = f.context.state.line.LineFields;
    for (int column = 5; column <= 9; ++column)
        QCOMPARE(fields[size_t(column)], QStringLiteral("0"));
    QCOMPARE(f.list.rows.size(), 0);
}

void tst_importchecks::nonNumericRangeValueEndsStageOne()
{
    Fixture f;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const auto write = [&](const QString& name, const QByteArray& bytes) {
        QFile file(dir.filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    };
    // Type, account, product, courier number; grouped by account.
    write(QStringLiteral("qfm.cfg"),
          "Transaction Type\r\nAccount Reference\r\nProduct Code\r\nCourier Number\r\n");
    write(QStringLiteral("qfm2.cfg"), "Account Reference\r\n\r\n\r\n\r\n");
    write(QStringLiteral("import.csv"), "I,C001,P1,5\r\nI,C001,P1,AB\r\nI,C001,P1,7\r\n");
    settings::writeSetting(QStringLiteral("pellmoorconfigdir"), dir.path());
    settings::writeSetting(QStringLiteral("iors"), QStringLiteral("0"));

    auto workspace = std::make_shared<ScriptObject>();
    auto setupData = std::make_shared<ScriptObject>();
    workspace->on("Connect", [](automation::Args&) { return Variant(true); })
        .on("Disconnect", [](automation::Args&) { return Variant(); })
        .on("ProgramType", [](automation::Args&) { return Variant(int32_t(2)); })
        .on("CreateObject", [&](automation::Args& a) -> Variant {
            const QString name = basic::CStr(a.at(0));
            if (name == QLatin1String("SalesRecord"))
                return Variant(basic::ObjectRef(f.sales));
            if (name == QLatin1String("StockRecord"))
                return Variant(basic::ObjectRef(f.stock));
            if (name == QLatin1String("NominalRecord"))
                return Variant(basic::ObjectRef(f.nominal));
            if (name == QLatin1String("BankRecord"))
                return Variant(basic::ObjectRef(f.bank));
            if (name == QLatin1String("InvoiceRecord"))
                return Variant(basic::ObjectRef(f.invoices));
            if (name == QLatin1String("SetupData") || name == QLatin1String("ControlData"))
                return Variant(basic::ObjectRef(setupData));
            return Variant(basic::ObjectRef(std::make_shared<ScriptObject>()));
        });
    setupData->on("Read", [](automation::Args&) { return Variant(true); }).on("Close", [](automation::Args&) {
        return Variant();
    });
    // Fields are read through the default member.
    auto setupRecord = std::make_shared<FakeRecord>(QStringLiteral("KEY"));
    setupRecord->setCurrent({{QStringLiteral("STOCK_UNITDP"), Variant(int16_t(2))},
                             {QStringLiteral("STOCK_QTYDP"), Variant(int16_t(2))},
                             {QStringLiteral("INV_SHOW_SPECIAL_CODES"), Variant(int16_t(1))}});
    setupData->on("Value", [setupRecord](automation::Args& a) {
        return setupRecord->invoke(0, automation::Invoke::PropertyGet, a, Variant());
    });
    auto workspaces = std::make_shared<ScriptObject>();
    workspaces->on("Add", [workspace](automation::Args&) { return Variant(basic::ObjectRef(workspace)); });
    auto engine = std::make_shared<ScriptObject>();
    engine->on("Workspaces",
               [workspaces](automation::Args&) { return Variant(basic::ObjectRef(workspaces)); });
    f.context.createEngine = [engine](const QString&) { return basic::ObjectRef(engine); };
    f.context.startCommand = [](const QString&, const QStringList&) {};
    f.context.lineChecks = &f.checks;

    struct Window : NullMainWindow
    {
        QString file;
        QString txtImportFile() const override { return file; }
    };
    Window window;
    window.file = dir.filePath(QStringLiteral("import.csv"));
    ImportContext context{window, f.log, f.list, f.form};
    context.createEngine = f.context.createEngine;
    context.startCommand = f.context.startCommand;
    context.lineChecks = &f.checks;
    context.state.batch.BatchRunning = true; // no box; the message goes to the batch list
    context.state.pass.StageOneCompleted = true;

    importer::ValidateImportFile(context, QStringLiteral("frmmain"), QStringLiteral("validate"));

    QCOMPARE(context.state.pass.StageOneCompleted, false);
    QCOMPARE(f.log.text, QStringLiteral("Error no13\r\n"));
    QCOMPARE(f.list.rows.size(), 1);
    QVERIFY(f.list.rows.at(0).startsWith(QStringLiteral("Error no13|2|")));
    QVERIFY(!context.state.batch.BatchErrors.empty());
    QCOMPARE(context.state.batch.BatchErrors.front(),
             QStringLiteral(
                 "Numeric field contains invalid characters, Please check file structure in settings and "
                 "try again."));
}

QTEST_GUILESS_MAIN(tst_importchecks)
#include "tst_importchecks.moc"
