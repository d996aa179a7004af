// Printing a text document the way the program's printouts look: page
// after page within the margins of the page set-up, none unless the user
// set some, with no margin, header or page number of its own
// (QTextDocument::print adds all three).
#pragma once

class QPrinter;
class QTextDocument;

namespace lirvane {

// Gives a printer no margins of its own; the page set-up may add some.
void ClearPageMargins(QPrinter& printer);

// False when nothing could be printed: the printer would not start, or
// reported an error while the pages went out.
bool PrintFullPage(const QTextDocument& document, QPrinter& printer);

}  // namespace lirvane
