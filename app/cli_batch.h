// The output of a range of days, written straight from the calculator's numbers: every
// text of a row is a piece of a constant table or of the year-start and solstice texts kept
// from the day before, so a row costs no allocation. The rows are the same bytes as
// JsonLine and WriteTableRow give for one calculation.
#pragma once

#include <array>
#include <ostream>
#include <string>

#include "cycle/calculator.h"

namespace cli {

class BatchWriter {
public:
    BatchWriter(std::ostream& out, bool json);
    ~BatchWriter();

    void Header();
    // One row from the calculator's last ComputeCycles.
    void Row(const cycle::CycleCalculator& calc);
    // Hands what is buffered to the stream.
    void Flush();

private:
    struct Cached {
        int day = 0, month = 0, year = 0;
        double jd = 0;
        bool valid = false;
        std::string text;    // as shown
        std::string quoted;  // as a JSON string
        std::string jdText;  // the solstice instant, for JSON
    };

    void Append(std::string_view s) { buffer_.append(s); }
    void AppendInt(int value);
    void AppendDateObject(int day, int month, int year);
    void AppendCycle(int pos60, int stem, int branch);
    void JsonRow(const cycle::CycleCalculator& c);
    void TableRow(const cycle::CycleCalculator& c);
    static std::string_view Lookup(const cycle::ResultPiece& piece, const Cached& yearStart,
                                   const Cached& solstice, bool quoted);
    const Cached& YearStart(const cycle::CycleCalculator& c);
    const Cached& Solstice(const cycle::CycleCalculator& c);

    std::ostream& out_;
    bool json_;
    std::string buffer_;
    Cached yearStart_, solstice_;
};

}  // namespace cli
