// SPDX-License-Identifier: GPL-3.0-or-later
// The course of a tolvane-cli run: read the arguments, pick MoonSpeed, check the term files,
// calculate one date or a range of days and write the results.
#include "app/cli_run.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include <unistd.h>

#include "app/cli_args.h"
#include "app/cli_batch.h"
#include "app/cli_progress.h"
#include "app/cli_output.h"
#include "app/cli_table.h"
#include "app/cli_view.h"
#include "astro/calendar.h"
#include "astro/term_files.h"
#include "cycle/calculator.h"
#include "cycle/solar_search.h"
#include "platform/ini_file.h"
#include "platform/locations.h"
#include "platform/program_folder.h"

namespace cli {

namespace {

// The window keeps MoonSpeed in the same file, so both programs calculate alike.
std::uint8_t MoonSpeedSetting(const std::filesystem::path& settingsFile) {
    if (settingsFile.empty()) return cycle::DefaultMoonSpeed;
    const platform::IniFile ini(settingsFile);
    const std::int32_t v = ini.ReadInteger("Parameter", "MoonSpeed", cycle::DefaultMoonSpeed);
    return cycle::MoonSpeedFromSetting(v).value_or(cycle::DefaultMoonSpeed);
}

void CheckTermFiles(const std::string& folder) {
    if (!astro::TermFilesExist(folder)) {
        throw std::runtime_error(folder + "PLANETS.NDX und .DAT nicht gefunden !");
    }
}

std::string InvalidInputText(cycle::InputField field, const CalcInput& in) {
    switch (field) {
    case cycle::InputField::JEdit: return "ungültiges Jahr: " + std::to_string(in.year);
    case cycle::InputField::MEdit: return "ungültiger Monat: " + std::to_string(in.month);
    case cycle::InputField::TEdit: return "ungültiger Tag: " + std::to_string(in.day);
    case cycle::InputField::SEdit: break;
    }
    return "ungültige Stunde: " + std::to_string(in.hour);
}

// The calculator with the result texts it shows, fed with numbers.
class Session {
public:
    Session(const std::string& folder, std::uint8_t moonSpeed) : calc_(view_, folder) {
        calc_.SetMoonSpeed(moonSpeed);
    }

    // Raises UsageError if the calculator would reject the input.
    static void Check(const CalcInput& in) {
        if (const auto bad = cycle::CycleCalculator::FirstOutOfRange(in))
            throw UsageError(InvalidInputText(*bad, in));
    }

    void Calculate(const CalcInput& in) {
        Check(in);
        calc_.ComputeCycles(in);
        calc_.ShowResults(true);
    }

    cycle::CycleCalculator& Calculator() { return calc_; }
    const CliView& View() const { return view_; }

private:
    CliView view_;
    cycle::CycleCalculator calc_;
};

double JulianDayAtMidnight(const CalcInput& in) {
    return astro::DateToJD({in.year, in.month, static_cast<double>(in.day)});
}

// Day i of a range from the Julian day `first` (0 h), at `hour`.
CalcInput DayOfRange(double first, long long i, std::int32_t hour) {
    astro::TCalendarDate d;
    astro::JDToDate(first + static_cast<double>(i), d);
    // A step lands on 0 h, so Day is whole; rounding guards against a last-bit error.
    return {hour, static_cast<std::int32_t>(std::lround(d.Day)), d.Month, d.Year};
}

void RunSingle(Session& s, const CalcInput& in, OutputFormat format, std::ostream& out) {
    s.Calculate(in);
    switch (format) {
    case OutputFormat::Json: out << JsonLine(s.Calculator(), s.View()) << '\n'; break;
    case OutputFormat::Fields: WriteNamedTexts(out, s.View()); break;
    case OutputFormat::Table: WriteWindowTable(out, in, s.View()); break;
    }
}

void RunRange(Session& s, const RangeInput& range, OutputFormat format, std::ostream& out,
              std::ostream& err, const CliContext& context) {
    Session::Check(range.from);
    Session::Check(range.to);
    const double first = JulianDayAtMidnight(range.from);
    const double last = JulianDayAtMidnight(range.to);
    if (last < first) throw UsageError("--to liegt vor --from: der Bereich ist leer.");
    // Every day's year-start and solstice searches give the same result for the same year.
    s.Calculator().Search().SetReuseResults(true);
    const auto days = std::llround(last - first);
    Progress progress(err, context.showProgress, days + 1);
    const std::size_t dateWidth = PillarDateWidth(range.from, range.to);
    if (context.referenceSearch) {
        // The reference way: each day shown through the view and written from its fields.
        if (format == OutputFormat::Fields) WriteTableHeader(out);
        if (format == OutputFormat::Table) out << PillarHeader(dateWidth);
        for (long long i = 0; i <= days; ++i) {
            const CalcInput in = DayOfRange(first, i, range.from.hour);
            s.Calculate(in);
            switch (format) {
            case OutputFormat::Json: out << JsonLine(s.Calculator(), s.View()) << '\n'; break;
            case OutputFormat::Fields: WriteTableRow(out, in, s.View()); break;
            case OutputFormat::Table: WritePillarLine(out, in, s.View(), dateWidth); break;
            }
            progress.Update(i + 1);
        }
        return;
    }
    BatchWriter writer(out, format, dateWidth);
    writer.Header();
    for (long long i = 0; i <= days; ++i) {
        // Every day between two checked ends is a valid input.
        const CalcInput in = DayOfRange(first, i, range.from.hour);
        s.Calculator().ComputeCycles(in);
        writer.Row(s.Calculator());
        progress.Update(i + 1);
    }
    writer.Flush();
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
        const CliContext& context) {
    const CliOptions options = ParseOptions(args);
    if (options.help) {
        out << UsageText();
        return ExitOk;
    }
    if (options.version) {
        out << VersionText();
        return ExitOk;
    }
    RangeInput range;
    CalcInput single;
    if (options.IsRange()) range = ReadRange(options);
    else single = ReadInput(options.positional, context.localNow());
    const std::uint8_t moonSpeed =
        options.moonSpeed ? *options.moonSpeed : MoonSpeedSetting(context.settingsFile);
    CheckTermFiles(context.dataFolder);
    Session session(context.dataFolder, moonSpeed);
    session.Calculator().Search().SetReference(context.referenceSearch);
    if (options.IsRange()) RunRange(session, range, options.Format(), out, err, context);
    else RunSingle(session, single, options.Format(), out);
    return ExitOk;
}

}  // namespace

CliContext CliContext::System() {
    CliContext context;
    context.dataFolder = platform::DataFolder();
    // The settings file of the window program tolvane beside this one.
    context.settingsFile = platform::SettingsFile(platform::ProgramFolder() + "tolvane");
    context.localNow = [] {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        return local;
    };
    context.showProgress = ::isatty(STDERR_FILENO) == 1;
    return context;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const CliContext& context) {
    try {
        return Run(args, out, err, context);
    } catch (const UsageError& e) {
        out.flush();
        err << e.what() << '\n';
        return ExitBadInput;
    } catch (const std::exception& e) {
        out.flush();
        err << e.what() << '\n';
        return ExitFailed;
    }
}

}  // namespace cli
