#pragma once

#include <QString>

// A company of the package stand-in at the size of a full import, written straight
// into its ledger (a seed of that size takes far longer to read).
namespace bench {

// "C000042", "P-000042": the keys of customer and product number i.
QString customerRef(int i);
QString productCode(int i);

// The nominal account that the generated files name.
inline constexpr const char* SalesNominal = "4000";

// Creates the company folder `folder` (ACCDATA/setup.dta and the ledger): version
// 23.0, program type 2, user MANAGER without a password, tax codes T0 (0 %) and
// T1 (20 %), the base currency, nominal accounts 4000 and 4905, `customers`
// customers and `products` products priced 1 to 100.
void buildCompany(const QString& folder, int customers, int products);

// Registers the engine library <binDir>/vdo/<library> with <binDir>/regsvr into the
// hives named by QUILLAR_MACHINE_HIVE / QUILLAR_USER_HIVE; fatal when it fails.
void registerEngine(const QString& binDir, const QString& library);

} // namespace bench
