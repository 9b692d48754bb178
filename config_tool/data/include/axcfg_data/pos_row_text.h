#pragma once
// The tab-separated text of a positioning-table row for one axis entry, as
// the grid shows a line and the CSV export writes it.
//
// Fields follow the entry's column set (pos_columns.h); the text ends with
// "\r\n". Choices are single letters, positions and speeds are fixed-point
// with the decimals of the unit of the entry's first axis.
#include <cstdint>
#include <string>
#include <string_view>

namespace axcfg {

class CParamBlock;
class CPosData;

char ControlMethodLetter(uint8_t code);      // E, P, C; J for any code above 2
uint8_t ControlMethodOfText(std::string_view field);  // P 1, C 2, E 0, else 3
char PositionModeLetter(uint8_t code);       // A for 1, else I
char AccelPatternLetter(uint8_t code);       // S for 1, else L
char InterpPatternLetter(uint8_t code);      // by the pattern table; unknown gives '0'
uint8_t InterpPatternOfText(std::string_view field);  // unknown gives 0
// True for a pattern that a group of that many axes may use.
bool IsInterpPatternAllowed(uint8_t code, int groupAxes);

// Decimals of positions and speeds in a row of the entry.
int RowPositionDecimals(const CParamBlock& params, uint32_t entry);
int RowSpeedDecimals(const CParamBlock& params, uint32_t entry);

// The field of one column as the row text has it ("E", "1234.5", ...).
std::string RowFieldText(const CPosData& row, const CParamBlock& params, uint32_t entry, int column);
// The cell text of one column as the grid shows it: the full choice text
// for choice columns ("E: End"), the field text otherwise.
std::string RowCellText(const CPosData& row, const CParamBlock& params, uint32_t entry, int column);

// Empty when the entry covers no axis or more than 3.
std::string BuildRowText(const CPosData& row, const CParamBlock& params, uint32_t entry);
// Stores the fields in column order: row-wide fields into every member,
// positions into the member they belong to. A trailing line break is
// ignored. Stops at the first field that is missing or does not parse as a
// number and returns false; the fields stored before it remain.
bool ParseRowText(CPosData& row, const CParamBlock& params, uint32_t entry, std::string_view text);

}  // namespace axcfg
