#include "app/import/StageTwo.h"

#include "app/import/ErrorEntries.h"
#include "app/import/ImportContext.h"
#include "app/import/ImportLine.h"
#include "app/import/ImportLogView.h"
#include "app/import/ImportMessages.h"
#include "app/import/MainWindowView.h"
#include "app/import/PackageNames.h"
#include "app/import/SettingsFormView.h"
#include "app/import/StageTwoRun.h"
#include "app/import/VorlenConnection.h"

#include "platform/automation/Object.h"
#include "platform/basic/Conversions.h"
#include "platform/basic/Dates.h"
#include "platform/basic/RuntimeError.h"
#include "platform/basic/Strings.h"
#include "platform/settings/SettingsStore.h"

#include <bit>
#include <new>
#include <unordered_map>

namespace importer {

using basic::Variant;

namespace {

QString num(int32_t n)
{
    return QString::number(n);
}

bool isMode(const QString& mode, const char* lower, const char* upper)
{
    return mode == QLatin1String(lower) || mode == QLatin1String(upper);
}

// The whole-number slots that stage one reads as 0 when they are empty.
bool emptyReadsAsZero(int s)
{
    return s == slot::CourierNumber || s == slot::GlobalDepartment || s == slot::SettlementDiscountRate ||
           s == slot::SettlementDueDays || s == slot::ItemDepartment;
}

// A document date: a value that reads as a date is taken as it is; otherwise its
// first two characters are the day, the next two the month and the rest the year.
basic::DateValue documentDate(const QString& text)
{
    if (basic::IsDate(Variant(text)))
        return basic::CDate(Variant(text));
    return basic::CDate(Variant(basic::Left(text, 2) + QLatin1Char('/') + basic::Mid(text, 3, 2) +
                                QLatin1Char('/') + basic::Mid(text, 5)));
}

} // namespace

StageTwoRun::StageTwoRun(ImportContext& context, const QString& callerForm, const QString& mode)
    : m_context(context), m_state(context.state), m_window(context.mainWindow), m_callerForm(callerForm),
      m_validate(isMode(mode, "validate", "VALIDATE")), m_import(isMode(mode, "import", "IMPORT")),
      // The version caption is written by the connection, never while a pass runs.
      m_v18OrLater(hasLockDownDate(m_window.lblCorvelVersion()))
{
}

void StageTwoRun::run()
{
    auto& pass = m_state.pass;
    pass.ErrCount = 0;
    if (!m_import)
        pass.ValidateOK = false;
    pass.ImportOK = false;
    pass.FileValid = false;
    m_state.driver.LockDownEnabled = false;
    m_state.driver.LockDownHit = false;
    m_state.driver.OverrideAnswer.clear();
    if (m_validate)
        m_state.batch.PassDocuments.clear();
    try {
        openFile();
        createPassObjects();
        // Only the pass that commits can import anything; a validate pass leaves it False.
        pass.ImportOK = m_import;
        if (readFirstLine())
            postDocuments();
        finishPass();
    } catch (const basic::RuntimeError& e) {
        handleFailure(e.number());
    } catch (const std::bad_alloc&) {
        handleFailure(7); // out of memory
    }
}

void StageTwoRun::openFile()
{
    auto& line = m_state.line;
    line.ImportFile.reset();
    line.ImportFile = openImportFile(m_window.txtImportFile(), m_state.batch.BatchRunning);
    line.Row = 1;
}

bool StageTwoRun::readFirstLine()
{
    auto& line = m_state.line;
    if (headingLineSkipped() && !line.ImportFile->eof())
        ReadImportLine(m_context);
    m_window.setValidationProgressBarValue(0);
    if (line.ImportFile->eof())
        return false;
    ReadImportLine(m_context);
    return true;
}

void StageTwoRun::createPassObjects()
{
    auto& package = m_state.package;
    auto& driver = m_state.driver;
    package.SalesRec = create("SalesRecord");
    package.StockRec = create("StockRecord");
    package.CurrencyRec = create("CurrencyData");
    package.BankRec = create("BankRecord");
    package.ControlDataRec = create("ControlData");
    package.SetupDataRec = create("SetupData");
    package.ControlDataRec->call(QStringLiteral("Read"), {int32_t(1)});
    package.SetupDataRec->call(QStringLiteral("Read"), {int32_t(1)});

    const auto& setup = package.SetupDataRec;
    m_carrNetDefault = basic::CDbl(field(setup, "INVOICE_CARR_NET"));
    m_carrDeptDefault = basic::CInt(field(setup, "INVOICE_CARR_DEPT"));
    const Variant nominal = field(setup, "INVOICE_CARR_NOMINAL");
    m_carrNomDefault = basic::CStr(nominal).isEmpty() ? int16_t(4000) : basic::CInt(nominal);
    m_discUnitPrice = basic::CDbl(field(setup, "INVOICE_DISC_UNITPRICE"));

    driver.LockDownValue.clear();
    if (v18OrLater()) {
        driver.LockDownEnabled = basic::CBool(field(setup, "CLOSED_LEDGER_DATE_CONTROL_ENABLED"));
        if (driver.LockDownEnabled)
            driver.LockDownDate = basic::CDate(field(setup, "CLOSED_LEDGER_CHECK_DATE"));
    }
    if (m_context.settingsForm.cbxCustomerPricing() == 1)
        m_pricing = create("Pricing");
}

void StageTwoRun::postDocuments()
{
    auto& line = m_state.line;
    auto& batch = m_state.batch;
    const bool listDocuments = m_validate && batch.ImportPassStarting;
    for (;;) {
        const int32_t firstRow = line.Row;
        startDocument();
        if (!findCustomer()) {
            skipDocument();
            if (m_import && batch.DocumentDone)
                batch.DocumentDone(QString());
        } else {
            setHeaderFields();
            m_itemNo = 1;
            do {
                buildItemLine();
                setLineCarriage();
            } while (nextLineOfDocument());
            finishDocument();
            if (m_import)
                commitDocument();
        }
        if (listDocuments)
            batch.PassDocuments.push_back(PassDocument{firstRow, line.Row, m_accountRef});
        m_state.package.CurrentPost.reset();
        ++line.Row;
        m_window.setValidationProgressBarValue(line.Row);
        if (line.TotalRows == line.Row || m_atEnd)
            return;
    }
}

void StageTwoRun::startDocument()
{
    auto& pass = m_state.pass;
    auto& line = m_state.line;
    pass.CurrentStep = QStringLiteral("DoStart");
    m_window.setValidationProgressBarValue(line.Row);
    m_window.setLblStatus((m_import ? QStringLiteral("Stage Two - Importing Data. Record ")
                                    : QStringLiteral("Stage One - Validating Fields. Record ")) +
                          num(line.Row));
    if (m_state.batch.BatchRunning) {
        m_window.setToolbarButtonCaption(2, QStringLiteral("&Validate"));
        m_window.setToolbarButtonEnabled(2, false);
        m_window.setToolbarButtonEnabled(1, false);
        m_window.setToolbarButtonEnabled(6, false);
    }
    m_state.package.CurrentPost = create(pass.ImportToSop == 1 ? "SOPPost" : "InvoicePost");
    forgetHeader();
    m_itemsNetTotal = 0;
    m_itemsTaxTotal = 0;
    m_paymentTotal = 0;
    m_itemLines.clear();
    m_items.reset();
    m_accountRef = value(slot::AccountReference);
    // The key of the document's first line: shown as its "Unique No.", and compared
    // field by field with each later line's.
    line.DocKey.clear();
    BuildGroupKey(m_context, line.DocKey);
    line.DocCompareKey = groupCompareKey(m_context);
}

bool StageTwoRun::findCustomer()
{
    const auto& sales = m_state.package.SalesRec;
    setField(sales, "ACCOUNT_REF", m_accountRef);
    m_customerFields.clear();
    const Variant found = member(sales, m_findId, automation::Invoke::Method, {false});
    // Only True counts as found.
    m_customerFound = found.type() == basic::VarType::Boolean && found.boolValue();
    return m_customerFound;
}

// Stage one refused lines whose customer the package lacks, so the customer went
// away between the passes: nothing of the document is built or committed, the
// error says so, and the pass goes on after the document's lines.
void StageTwoRun::skipDocument()
{
    const int32_t firstRow = m_state.line.Row;
    const int16_t column = m_state.layout.ColPos[size_t(slot::AccountReference)];
    while (nextLineOfDocument()) {
    }
    m_everyDocumentCommitted = false;
    const int32_t lastRow = m_state.line.Row;
    m_state.line.Row = firstRow;
    recordEntry(QStringLiteral("Account Reference ") + m_accountRef +
                    QStringLiteral(" not found in Vorlen, document not imported. Row ") + num(firstRow) +
                    QStringLiteral("."),
                column, m_accountRef);
    m_state.line.Row = lastRow;
}

void StageTwoRun::setHeaderFields()
{
    auto& pass = m_state.pass;
    const bool sop = pass.ImportToSop == 1;
    const auto& post = m_state.package.CurrentPost;

    m_docTransType = value(slot::TransactionType);
    m_docBankAccount = value(slot::BankAccount);
    // Lower-case types are valid in stage one and mean the same documents.
    const QString type = basic::UCase(m_docTransType);
    if (!sop) {
        if (type == QLatin1String("I"))
            post->put(QStringLiteral("Type"), int32_t(261));
        else if (type == QLatin1String("C"))
            post->put(QStringLiteral("Type"), int32_t(265));
    }

    // 1: the document number, when this pass commits.
    if (m_import) {
        const char* numberField = sop ? "Order_Number" : "Invoice_Number";
        if (pass.TransNoFromFile == 1)
            setHeader(numberField, value(slot::TransactionNo));
        else if (!v18OrLater())
            setHeader(numberField, basic::CLng(post->call(QStringLiteral("GetNextNumber"))));
    }
    // 2: the customer.
    for (const char* name :
         {"Account_Ref", "Name", "Address_1", "Address_2", "Address_3", "Address_4", "Address_5"})
        setHeader(name, basic::CStr(customer(name)));
    // 3: the net-value discount.
    m_netValueDiscount = 0;
    m_netValueDiscountText.clear();
    if (basic::IsNumeric(Variant(value(slot::NetValueDiscountAmount))) &&
        mapped(slot::NetValueDiscountAmount)) {
        m_netValueDiscount = basic::CDbl(Variant(value(slot::NetValueDiscountAmount)));
        m_netValueDiscountText = value(slot::NetValueDiscountDescription);
    }
    // 4: the global tax code.
    const QString globalTax = value(slot::GlobalTaxCode);
    if (mapped(slot::GlobalTaxCode) && basic::IsNumeric(Variant(globalTax))) {
        setHeader("Global_Tax_Code", m_state.layout.TaxCodeMapped ? basic::CInt(Variant(globalTax))
                                                                  : basic::CInt(customer("DEF_TAX_CODE")));
    } else if (basic::CBool(customer("OVERRIDE_PRODUCT_TAX"))) {
        setHeader("Global_Tax_Code", basic::CInt(customer("DEF_TAX_CODE")));
    }
    // 5 to 11.
    if (mapped(slot::CustomerTelephone))
        setHeader("Cust_Tel_Number", value(slot::CustomerTelephone));
    pass.CurrentStep = QStringLiteral("CTelNo");
    if (mapped(slot::CustomerOrderNumber))
        setHeader("Cust_Order_Number", value(slot::CustomerOrderNumber));
    if (sop && mapped(slot::DespatchDueDate) && !isEmpty(slot::DespatchDueDate) &&
        value(slot::DespatchDueDate) != QLatin1String("0"))
        setHeader("Despatch_Date", documentDate(value(slot::DespatchDueDate)));
    if (mapped(slot::CustomerContactName))
        setHeader("Contact_Name", value(slot::CustomerContactName));
    if (mapped(slot::ConsignmentReference))
        setHeader("Consignment_Ref", value(slot::ConsignmentReference));
    if (mapped(slot::CourierNumber))
        setHeader("Courier", basic::CInt(numberText(slot::CourierNumber)));
    if (mapped(slot::GlobalDepartment))
        setHeader("Global_Dept_Number", basic::CInt(numberText(slot::GlobalDepartment)));
    // 12, 13: the exchange rate and the currency.
    setExchangeRate();
    // 14, 15: the delivery address, the file's columns over the customer's.
    static const char* const delivery[] = {"DELIVERY_NAME", "DEL_ADDRESS_1", "DEL_ADDRESS_2",
                                           "DEL_ADDRESS_3", "DEL_ADDRESS_4", "DEL_ADDRESS_5"};
    if (settingIsOne("CheckDeliveryAddress")) {
        static const char* const customerDelivery[] = {"DEL_NAME",      "DEL_ADDRESS_1", "DEL_ADDRESS_2",
                                                       "DEL_ADDRESS_3", "DEL_ADDRESS_4", "DEL_ADDRESS_5"};
        for (int i = 0; i < 6; ++i)
            setHeader(delivery[i], basic::CStr(customer(customerDelivery[i])));
    }
    for (int i = 0; i < 6; ++i) {
        if (mapped(slot::DeliveryAddressName + i))
            setHeader(delivery[i], value(slot::DeliveryAddressName + i));
    }
    // 16: the document date, then the closed-ledger test on it.
    setDocumentDate();
    testLockDown();
    // 17.
    static const char* const notes[] = {"Notes_1", "Notes_2", "Notes_3"};
    for (int i = 0; i < 3; ++i) {
        if (mapped(slot::Notes1 + i))
            setHeader(notes[i], value(slot::Notes1 + i));
    }
    // 19 to 25 (18 is the document key, taken with the document's first line).
    setHeader("Taken_By", m_context.settingsForm.txtUserName());
    if (!sop)
        setHeader("Order_Number", QString());
    setHeader("Payment_Ref",
              mapped(slot::PaymentReference) ? value(slot::PaymentReference) : QStringLiteral("IMPORT"));
    setHeader("Global_Nom_Code",
              mapped(slot::GlobalNominalCode) ? value(slot::GlobalNominalCode) : QString());
    setHeader("Global_Details", mapped(slot::GlobalDetails) ? value(slot::GlobalDetails) : QString());
    if (sop) {
        setHeader("STATUS", int32_t(0));
    } else if (type == QLatin1String("I")) {
        setHeader("INVOICE_TYPE_CODE", uint8_t(0));
    } else if (type == QLatin1String("C")) {
        setHeader("INVOICE_TYPE_CODE", uint8_t(3));
    }
    if (!sop && mapped(slot::OrderNumber))
        setHeader("Order_Number", value(slot::OrderNumber));
    // 26.
    setSettlementTerms();
}

void StageTwoRun::setExchangeRate()
{
    const auto& currency = m_state.package.CurrencyRec;
    const int16_t number = basic::CInt(customer("CURRENCY"));
    const Variant read = currency->call(QStringLiteral("Read"), {int32_t(number + 1)});
    // A currency the package does not hold has no rate; never take the rate the
    // previous Read left behind.
    const bool held = !(read.type() == basic::VarType::Boolean && !read.boolValue());
    m_exchangeRate = held ? basic::CDbl(field(currency, "EXCHANGE_RATE")) : 0.0;
    if (m_validate && m_exchangeRate == 0)
        recordEntry(QStringLiteral("Customer Currency exchange rate in Vorlen is zero   Row ") +
                    num(m_state.line.Row) + QStringLiteral("."));
    setHeader("FOREIGN_RATE", m_exchangeRate);
    setHeader("CURRENCY", number);
    setHeader("CURRENCY_USED", number);
}

void StageTwoRun::setDocumentDate()
{
    const char* name = m_state.pass.ImportToSop == 1 ? "Order_Date" : "Invoice_Date";
    if (!mapped(slot::TransactionDate))
        setHeader(name, basic::Today());
    else
        setHeader(name, documentDate(value(slot::TransactionDate)));
}

void StageTwoRun::testLockDown()
{
    auto& driver = m_state.driver;
    if (!v18OrLater() || !driver.LockDownEnabled)
        return;
    const basic::DateValue date =
        basic::CDate(header(m_state.pass.ImportToSop == 1 ? "Order_Date" : "Invoice_Date"));
    if (date.serial > driver.LockDownDate.serial)
        return;
    // The first such document's date is what the lock-down entry names.
    if (!driver.LockDownHit)
        driver.LockDownValue = basic::formatDate(date);
    driver.LockDownHit = true;
}

void StageTwoRun::setSettlementTerms()
{
    const bool bothMapped = mapped(slot::SettlementDiscountRate) && mapped(slot::SettlementDueDays);
    if (bothMapped) {
        setHeader("Settlement_Disc_Rate", basic::CDbl(numberText(slot::SettlementDiscountRate)));
        setHeader("Settlement_Due_Days", basic::CInt(numberText(slot::SettlementDueDays)));
    } else if (settingIsOne("CheckSettlementDiscount")) {
        setHeader("Settlement_Disc_Rate", basic::CDbl(customer("Settlement_disc_rate")));
        setHeader("Settlement_Due_Days", basic::CInt(customer("settlement_due_days")));
    }
}

bool StageTwoRun::nextLineOfDocument()
{
    auto& line = m_state.line;
    if (line.TotalRows == line.Row)
        return false;
    if (line.ImportFile->eof()) {
        // The end of the file ends the document; its slots read empty from here on.
        for (auto& f : line.LineFields)
            f.clear();
        m_atEnd = true;
        return false;
    }
    ReadImportLine(m_context);
    line.LineKey.clear();
    AppendGroupKey(m_context, line.LineKey);
    line.LineCompareKey = groupCompareKey(m_context);
    m_window.setValidationProgressBarValue(line.Row);
    if (line.LineCompareKey != line.DocCompareKey)
        return false; // the line starts the next document
    ++line.Row;
    ++m_itemNo;
    return true;
}

void StageTwoRun::commitDocument()
{
    const auto& post = m_state.package.CurrentPost;
    const bool committed = basic::CBool(post->call(QStringLiteral("Update")));
    forgetHeader(); // the commit numbers the document
    if (!committed)
        m_everyDocumentCommitted = false;
    const bool sop = m_state.pass.ImportToSop == 1;
    const QString type = basic::UCase(m_docTransType);
    QString prefix = QStringLiteral("Order No ");
    if (!sop)
        prefix = type == QLatin1String("C") ? QStringLiteral("Credit No ") : QStringLiteral("Invoice No ");
    const QString number = basic::CStr(header(sop ? "ORDER_NUMBER" : "INVOICE_NUMBER"));
    const QString text = prefix + number + QStringLiteral(" for ") +
                         basic::UCase(basic::CStr(header("NAME"))) + QStringLiteral(" (Unique No. ") +
                         m_state.line.DocKey +
                         (committed ? QStringLiteral(") created.") : QStringLiteral(") failed on update."));
    m_context.importLog.appendTxtImportText(text + QLatin1String("\r\n"));
    if (m_state.batch.DocumentDone)
        m_state.batch.DocumentDone(committed ? prefix + number : QString());
    // Unattended, a refused document must reach the failed file's error file.
    if (!committed && m_state.batch.BatchRunning)
        addBatchError(m_state.batch, text);
}

void StageTwoRun::finishPass()
{
    auto& pass = m_state.pass;
    auto& package = m_state.package;
    auto& line = m_state.line;
    pass.FileValid = true;
    package.ControlDataRec->call(QStringLiteral("Close"));
    package.SetupDataRec->call(QStringLiteral("Close"));
    package.SalesRec.reset();
    package.StockRec.reset();
    package.CurrencyRec.reset();
    package.BankRec.reset();
    package.CurrentPost.reset();
    m_pricing.reset();
    m_itemLines.clear();
    m_items.reset();

    m_window.setLblStatus(QString());
    if (m_import) {
        m_window.stopAnimation1();
    } else if (pass.ErrCount > 0) {
        pass.ValidateOK = false;
        pass.ImportOK = false;
    } else {
        pass.ValidateOK = true;
    }
    line.TotalRows = line.Row;
    line.ImportFile.reset();

    if (m_callerForm != QLatin1String("frmmain") || !m_import)
        return;
    // A document the package refused, or could not be built, fails the import.
    pass.ImportOK = m_everyDocumentCommitted;
    if (!m_context.importLog.txtImportText().isEmpty()) {
        const bool batch = m_state.batch.BatchRunning;
        m_window.setToolbarButtonCaption(3, QStringLiteral("Import Log"));
        if (!batch)
            m_context.importLog.show();
        DisconnectFromVorlen(m_context);
        m_window.setMnuFileStartImportEnabled(false);
        m_window.setToolbarButtonEnabled(2, false);
        if (!batch) {
            m_window.setMnuFilenewEnabled(true);
            m_window.setToolbarButtonEnabled(1, true);
            m_window.setMnuFileViewErrorsEnabled(true);
            m_window.setToolbarButtonEnabled(3, true);
        }
    } else {
        pass.ValidateOK = true;
        m_window.setToolbarButtonCaption(3, QStringLiteral("Import Log"));
    }
}

void StageTwoRun::recordEntry(const QString& message, int32_t column, const QString& fieldValue)
{
    recordError(m_context, message, m_state.line.Row, column, fieldValue);
}

void StageTwoRun::handleFailure(int32_t number)
{
    auto& pass = m_state.pass;
    // A pass that ended on a failure imported nothing whole, whatever it had done.
    pass.ImportOK = false;
    try {
        m_window.setLblStatus(QString());
        if (m_import)
            m_window.stopAnimation1();
        const QString entry = QStringLiteral("Error ") + num(number);
        const auto closeFile = [this] { m_state.line.ImportFile.reset(); };
        switch (number) {
        case basic::err::TypeMismatch:
            recordEntry(entry);
            importMessage(m_context,
                          QStringLiteral("Numeric field contains invalid characters, Please check file "
                                         "structure in settings and try again."),
                          forms::Information, QStringLiteral("Quillar - Validate and Import"));
            ShowValidationFailed(m_context);
            closeFile();
            break;
        case basic::err::FileNotFound:
            importMessage(m_context,
                          QStringLiteral("File not found, Please check file structure in settings and try "
                                         "again."),
                          forms::Information, QStringLiteral("Import"));
            recordEntry(entry);
            ShowValidationFailed(m_context);
            closeFile();
            break;
        case basic::err::InputPastEndOfFile:
            // The end of the file ends a document without a read; a read past the
            // end here means the file changed or is not what it seemed.
            closeFile();
            recordEntry(entry);
            importMessage(m_context,
                          QStringLiteral("File not formatted correctly for import. Please check and try "
                                         "again."),
                          forms::Information, QStringLiteral("Import"));
            ShowValidationFailed(m_context);
            break;
        default:
            recordEntry(entry);
            importMessage(m_context,
                          QStringLiteral("An error has occurred, the error number is ") + num(number) +
                              QStringLiteral(" ") + pass.CurrentStep +
                              QStringLiteral(". Please check file structure"),
                          forms::OKOnly, QStringLiteral("Quillar Error"));
            m_window.setLblStatus(QString());
            disconnectAfterError(m_context);
            closeFile();
            if (m_import)
                m_window.stopAnimation1();
            ShowErrorIndicator(m_context);
            break;
        }
    } catch (const basic::RuntimeError&) {
        // A window that fails while the error is reported must not end the program.
        m_state.line.ImportFile.reset();
    }
}

// Slots and settings.

bool StageTwoRun::mapped(int s) const
{
    return m_state.layout.ColPos[size_t(s)] > 0;
}

QString StageTwoRun::value(int s) const
{
    return m_state.line.field(m_state.layout.ColPos[size_t(s)]);
}

Variant StageTwoRun::numberText(int s) const
{
    const QString text = value(s);
    if (text.isEmpty() && emptyReadsAsZero(s))
        return Variant(QStringLiteral("0"));
    return Variant(text);
}

// Nothing changes a setting while a pass runs: each is read once per pass.
bool StageTwoRun::settingIsOne(const char* key)
{
    auto it = m_settings.find(key);
    if (it == m_settings.end()) {
        const QString text = settings::readSetting(QLatin1String(key), QStringLiteral("0"));
        it = m_settings.emplace(key, basic::CDbl(Variant(text)) == 1).first;
    }
    return it->second;
}

bool StageTwoRun::v18OrLater() const
{
    return m_v18OrLater;
}

// Package objects.

ObjectRef StageTwoRun::create(const char* name)
{
    return automation::toObject(
        m_state.package.VdoWorkspace->call(QStringLiteral("CreateObject"), {QString::fromLatin1(name)}));
}

namespace {

// Same type and the same bits: a write of such a value changes nothing.
bool sameValue(const Variant& a, const Variant& b)
{
    if (a.type() != b.type())
        return false;
    if (a.type() == basic::VarType::Double)
        return std::bit_cast<uint64_t>(a.doubleValue()) == std::bit_cast<uint64_t>(b.doubleValue());
    return a == b;
}

// A double or a text is held by the package exactly as given (the item's amounts,
// prices and rates are doubles, its codes and descriptions texts), so a value
// written as one reads back as itself.
bool readsBackAsWritten(const Variant& v)
{
    return v.type() == basic::VarType::Double || v.type() == basic::VarType::String;
}

} // namespace

// Every line rewrites the carriage and reads back the same few header fields: a
// field is read from the package once until it is written again, and a write of
// the value it was last given is left out. Writing the account fills the header's
// default tax code, so that read is forgotten with it.
Variant StageTwoRun::header(const char* name)
{
    const QString& key = packageName(name);
    if (const Variant* held = m_headerRead.find(&key))
        return *held;
    const Variant v = byName(m_state.package.CurrentPost, m_headerId.of(m_state.package.CurrentPost),
                             automation::Invoke::PropertyGet, key);
    m_headerRead.set(&key, v);
    return v;
}

void StageTwoRun::setHeader(const char* name, const Variant& v)
{
    const QString& key = packageName(name);
    if (const Variant* written = m_headerWritten.find(&key); written && sameValue(*written, v))
        return;
    byName(m_state.package.CurrentPost, m_headerId.of(m_state.package.CurrentPost),
           v.isObject() ? automation::Invoke::PropertyPutRef : automation::Invoke::PropertyPut, key, v);
    m_headerWritten.set(&key, v);
    m_headerRead.erase(&key);
    if (&key == &packageName("ACCOUNT_REF"))
        m_headerRead.erase(&packageName("DEF_TAX_CODE"));
}

void StageTwoRun::forgetHeader()
{
    m_headerRead.clear();
    m_headerWritten.clear();
}

// The item line being built (the last one added).
Variant StageTwoRun::itemField(const char* name)
{
    const QString& key = packageName(name);
    if (const Variant* held = m_itemFields.find(&key))
        return *held;
    const Variant v = byName(m_itemLines.back(), automation::DispIdValue, automation::Invoke::PropertyGet, key);
    m_itemFields.set(&key, v);
    return v;
}

void StageTwoRun::setItemField(const char* name, const Variant& v)
{
    const QString& key = packageName(name);
    if (const Variant* held = m_itemFields.find(&key); held && sameValue(*held, v))
        return; // the line already holds it
    byName(m_itemLines.back(), automation::DispIdValue,
           v.isObject() ? automation::Invoke::PropertyPutRef : automation::Invoke::PropertyPut, key, v);
    if (readsBackAsWritten(v))
        m_itemFields.set(&key, v);
    else
        m_itemFields.erase(&key);
}

// A member called on every line or document, by the id it was given once per object.
Variant StageTwoRun::member(const ObjectRef& object, MemberId& id, automation::Invoke kind, automation::Args args)
{
    return object->invoke(id.of(object), kind, args);
}

// A member taking a field name as its one argument. Every line makes a few dozen
// such calls: the argument list is made once per pass, not once per call.
Variant StageTwoRun::byName(const ObjectRef& object, automation::DispId id, automation::Invoke kind,
                            const QString& name, const Variant& v)
{
    m_nameArg.resize(1);
    m_nameArg[0] = Variant(name);
    return object->invoke(id, kind, m_nameArg, v);
}

Variant StageTwoRun::field(const ObjectRef& object, const QString& name)
{
    return byName(object, automation::DispIdValue, automation::Invoke::PropertyGet, name);
}

Variant StageTwoRun::field(const ObjectRef& object, const char* name)
{
    return field(object, packageName(name));
}

void StageTwoRun::setField(const ObjectRef& object, const char* name, const Variant& v)
{
    byName(object, automation::DispIdValue,
           v.isObject() ? automation::Invoke::PropertyPutRef : automation::Invoke::PropertyPut, packageName(name),
           v);
}

// The document's customer stays the current sales record for all its lines: each
// of its fields is read from the package once per document.
Variant StageTwoRun::customer(const char* name)
{
    auto it = m_customerFields.find(name);
    if (it == m_customerFields.end())
        it = m_customerFields.emplace(name, field(m_state.package.SalesRec, name)).first;
    return it->second;
}

// Likewise the line's product, once per line.
Variant StageTwoRun::product(const char* name)
{
    if (!m_productFound)
        return {};
    auto it = m_productFields.find(name);
    if (it == m_productFields.end())
        it = m_productFields.emplace(name, field(m_state.package.StockRec, name)).first;
    return it->second;
}

void PostImportFile(ImportContext& context, const QString& callerForm, const QString& mode)
{
    StageTwoRun(context, callerForm, mode).run();
}

} // namespace importer
