#pragma once

#include <QString>

// The two scans every numeric field of an import line goes through. Both look at
// the first 20 characters only; a value's later characters are never examined.
namespace importer::checks {

constexpr int ScanWindow = 20;

struct DecimalScanResult
{
    int decimals = 0;        // characters after the first point, blanks not counted
    bool extraPoint = false; // a second "." after the first
};

struct CharacterScanResult
{
    bool bad = false; // a character other than a digit or "."
    int points = 0;   // how many "." were seen
};

// Counts decimal places: after the first point every character but a blank counts,
// letters too, so a text that is not a number still gets a count.
DecimalScanResult decimalScan(const QString& text);
// Looks for characters that cannot be part of a plain unsigned decimal number.
CharacterScanResult characterScan(const QString& text);

} // namespace importer::checks
