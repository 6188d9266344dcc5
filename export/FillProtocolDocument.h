#pragma once

#include <array>

#include <pugixml.hpp>

#include "export/ProtocolReport.h"

class ProtocolDocument;

// The element names of a "row", in the order of the protocol list's columns.
extern const std::array<const pugi::char_t*, kReportColumnCount> kRowElementNames;

// Adds the report to the document's "root", in this order: "ProtocolDate"; "Sample",
// "Comment", "Date" and "Time" when the measurement was found; "Operator" when known; and
// "table1" with one "row" per list row when the list has rows. Cells are cut by CutCellText;
// every other text keeps its length. Every text goes in through toPugiText. Throws std::bad_alloc
// when a node cannot be made, so an incomplete document is never handed on.
void FillProtocolDocument(ProtocolDocument& document, const ProtocolReport& report);
