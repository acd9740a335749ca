#pragma once

#include <cstdint>

class QPrinter;
class QTextDocument;

// PrintRichText: a rich text printed page by page onto a printer or a PDF file
// (a QPrinter whose output format is PDF). Margins are in twips (1440 to the inch)
// from the paper's edges, whatever the printer's unprintable border. An empty text
// still gives one (blank) page, so that every call yields a document.
namespace shell {

// Returns the number of pages printed; 0 when the target cannot be opened.
int PrintRichText(const QTextDocument& text, QPrinter& target, int32_t leftMargin, double topMargin,
                  double rightMargin, double bottomMargin);

} // namespace shell
