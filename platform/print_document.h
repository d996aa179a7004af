// Printing a text document the way the program's printouts look: over the
// printer's whole page, page after page, with no margin, header or page
// number of its own (QTextDocument::print adds all three).
#pragma once

class QPrinter;
class QTextDocument;

namespace lirvane {

// False when nothing could be printed: the printer would not start, or
// reported an error while the pages went out.
bool PrintFullPage(const QTextDocument& document, QPrinter& printer);

}  // namespace lirvane
