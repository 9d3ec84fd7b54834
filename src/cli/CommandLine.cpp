#include "cli/CommandLine.h"

#include "readers/PathExtension.h"

#include <charconv>

const char* const kUsage = "usage: gridlook info [--json] [options] FILE...\n"
                           "       gridlook render [options] FILE -o OUT.png\n"
                           "       gridlook render [options] FILE... -d DIR\n"
                           "       gridlook solve [--json] [--max-seconds S] FILE...\n"
                           "       gridlook thumbnail -s SIZE [options] FILE OUT.png\n"
                           "       gridlook convert [--drop WHAT[,WHAT]] [--solution] FILE -o OUT\n"
                           "       gridlook convert [--drop WHAT[,WHAT]] [--solution] FILE... -d DIR --to FORMAT\n"
                           "       gridlook --help";

const char* const kHelp = R"(gridlook - show nonogram puzzle files

  gridlook info FILE...          a short summary of each file: size, colours,
                                 clue lists and the picture as characters
  gridlook info --json FILE...   one JSON object per file, one per line
  gridlook render FILE -o OUT.png
                                 the puzzle as the viewer shows it, as a PNG
  gridlook render FILE... -d DIR one PNG per file in DIR, named FILE.png
    --blank                      the clues and an empty grid, the picture left
                                 out: the view to print or to solve from
    --solution                   the solution of the clues painted into the
                                 grid; refused when there is none or several,
                                 or none is found within --max-seconds
  gridlook solve FILE...         one line per file: whether its clues have no
                                 solution, one or several (and where two of
                                 them differ), whether line-by-line logic
                                 alone solves it and in how many passes, the
                                 time taken, and for a file that holds a
                                 picture (a native file with its picture, a
                                 .tgw) whether the picture fits its clues
  gridlook solve --json FILE...  one JSON object per file, with the solutions
    --max-seconds S              give up on a puzzle after S seconds and call
                                 it undecided (default 10)
  gridlook thumbnail -s SIZE FILE OUT.png
                                 the viewer's picture made smaller, at most
                                 SIZE x SIZE pixels (SIZE 1 to 1024), for file
                                 managers
  gridlook convert FILE -o OUT   the puzzle in the format that OUT's extension
                                 names: .tgp, .pp (.ppc, .pps), .non, .xml
                                 (webpbn XML), and a native file for any other
                                 name but .tgr, .tgw, .nin, .g and .mk; a
                                 puzzle that holds what the format cannot
                                 (colours, a picture, crossed-out clues, cells
                                 marked empty, too long a clue) is refused
  gridlook convert FILE... -d DIR --to FORMAT
                                 one file per puzzle in DIR, named after FILE
                                 with the format's extension; FORMAT is native
                                 (.tessa), tgp, pp, non or xml
    --drop WHAT[,WHAT]           leave out what the format cannot hold, which
                                 is otherwise refused: picture, crossed (the
                                 crossed-out marks of clues), marks (cells
                                 marked empty become blank), others (the
                                 puzzles of a set after the first)
    --solution                   write the unique solution of the clues as the
                                 picture; refused when there is none or
                                 several, or none is found within --max-seconds

Files: the desktop puzzle program's own files (any extension, recognised by
their contents), .tgr, .tgw, .tgp, and .pp/.ppc/.pps; under any other name
also webpbn XML, .non, .nin, and Olšák's .g and .mk, recognised by their
contents.

The look comes from the desktop program's settings in the Wine registry
($WINEPREFIX/user.reg, or ~/.wine/user.reg). These options lay other values
over them for one run:
  --cell-size N                  side of a cell in pixels, 0 to 255
  --pixel-digits, --text-digits  clue numbers as pixel digits or in a font
  --single-strike, --double-strike
                                 crossed-out clues struck once or twice
  --ink RRGGBB                   ink of two-colour puzzles, red first (00C000)
  --centre, --no-centre          centre a small puzzle in the window

Exit status: 0 when every file loaded (and was rendered or converted); 3 when
a file's contents were refused, or a puzzle holds what its new format cannot;
4 when a file could not be read; 1 when a picture or a converted file could
not be made or written; 2 for a usage error. solve, and render and convert
--solution, also give 5 when a file's clues have no solution or several, and 6
when it stayed undecided. The first failure decides, and stderr says why, one
line per failing file.
)";

namespace {

bool ParseByte(const std::string& text, std::uint8_t& value)
{
    unsigned number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || number > 255)
        return false;
    value = static_cast<std::uint8_t>(number);
    return true;
}

bool ParseInk(std::string text, Colour& colour)
{
    if (text.starts_with('#'))
        text.erase(0, 1);
    unsigned rgb = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rgb, 16);
    if (text.size() != 6 || error != std::errc() || end != text.data() + text.size())
        return false;
    colour = MakeColour(static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                        static_cast<std::uint8_t>(rgb));
    return true;
}

bool ParseThumbnailSize(const std::string& text, int& size)
{
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), size);
    return error == std::errc() && end == text.data() + text.size() && size >= 1 && size <= kMaxThumbnailSize;
}

bool ParseSeconds(const std::string& text, std::optional<double>& seconds)
{
    constexpr double kLongestWait = 86400;
    double number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size() || !(number > 0 && number <= kLongestWait))
        return false;
    seconds = number;
    return true;
}

// Options that take no value; false when `option` is not one of them.
bool ApplySwitch(const std::string& option, CommandLine& line)
{
    SettingsOverlay& overlay = line.overlay;
    if (option == "--json")
        line.json = true;
    else if (option == "--pixel-digits" || option == "--text-digits")
        overlay.pixelDigits = option == "--pixel-digits";
    else if (option == "--single-strike" || option == "--double-strike")
        overlay.singleStrike = option == "--single-strike";
    else if (option == "--centre" || option == "--no-centre")
        overlay.centrePicture = option == "--centre";
    else if (option == "--blank")
        line.blank = true;
    else if (option == "--solution")
        line.solution = true;
    else
        return false;
    return true;
}

// The commands with -o OUT and -d DIR.
bool WritesFiles(const CommandLine& line)
{
    return line.command == CommandLine::Command::Render || line.command == CommandLine::Command::Convert;
}

// Options that take a value; false with `error` set when the value is wrong or
// `option` is not one of them.
bool ApplyValueOption(const std::string& option, const std::string& value, CommandLine& line, std::string& error)
{
    if (option == "--cell-size") {
        std::uint8_t size = 0;
        if (!ParseByte(value, size)) {
            error = "--cell-size takes a whole number from 0 to 255, not '" + value + "'";
            return false;
        }
        line.overlay.cellSize = size;
    } else if (option == "--ink") {
        Colour colour = 0;
        if (!ParseInk(value, colour)) {
            error = "--ink takes six hexadecimal digits RRGGBB, not '" + value + "'";
            return false;
        }
        line.overlay.filledColour = colour;
    } else if (option == "-s" && line.command == CommandLine::Command::Thumbnail) {
        if (!ParseThumbnailSize(value, line.thumbnailSize)) {
            error = "-s takes a whole number from 1 to " + std::to_string(kMaxThumbnailSize) + ", not '" + value + "'";
            return false;
        }
    } else if (option == "--max-seconds") {
        if (!ParseSeconds(value, line.maxSeconds)) {
            error = "--max-seconds takes a number of seconds above 0, at most 86400, not '" + value + "'";
            return false;
        }
    } else if (option == "-o" && WritesFiles(line)) {
        line.outputFile = value;
    } else if (option == "-d" && WritesFiles(line)) {
        line.outputDirectory = value;
    } else if (option == "--to" && line.command == CommandLine::Command::Convert) {
        line.format = FormatNamed(value);
        if (!line.format) {
            error = "--to takes native, tgp, pp, non or xml, not '" + value + "'";
            return false;
        }
    } else if (option == "--drop" && line.command == CommandLine::Command::Convert) {
        const std::optional<unsigned> drops = DropItemsNamed(value);
        if (!drops) {
            error = "--drop takes picture, crossed, marks or others, separated by commas, not '" + value + "'";
            return false;
        }
        line.drops |= *drops;
    } else {
        error = "unknown option '" + option + "'";
        return false;
    }
    return true;
}

// A picture goes to one file (-o, for one puzzle) or into a folder (-d).
bool CheckRenderTarget(const CommandLine& line, std::string& error)
{
    if (line.outputFile.empty() == line.outputDirectory.empty())
        error = "render needs either -o OUT.png or -d DIR";
    else if (!line.outputFile.empty() && line.files.size() != 1)
        error = "-o takes the picture of one file; use -d DIR for several";
    else if (line.json)
        error = "--json belongs to info and solve";
    else if (line.blank && line.solution)
        error = "--blank and --solution exclude each other";
    return error.empty();
}

// A converted puzzle goes to one file (-o, its format named by the file's
// extension) or into a folder (-d, in the format that --to names).
bool CheckConvertTarget(CommandLine& line, std::string& error)
{
    if (line.outputFile.empty() == line.outputDirectory.empty())
        error = "convert needs either -o OUT or -d DIR --to FORMAT";
    else if (!line.outputFile.empty() && line.files.size() != 1)
        error = "-o takes one puzzle file; use -d DIR --to FORMAT for several";
    else if (!line.outputFile.empty() && line.format)
        error = "--to goes with -d; with -o the extension of OUT names the format";
    else if (line.outputDirectory.empty())
        line.format = FormatOfFileName(line.outputFile);
    if (!error.empty())
        return false;
    if (!line.format)
        error = line.outputDirectory.empty() ? "convert writes no " + FindExtension(line.outputFile) +
                                                   " files; it writes native files, .tgp, .pp, .non and .xml"
                                             : "-d needs --to FORMAT: native, tgp, pp, non or xml";
    else if (line.json)
        error = "--json belongs to info and solve";
    else if (line.solution && (line.format == PuzzleFormat::Tgp || (line.drops & kDropPicture)))
        error = "--solution writes the solution as the picture, which --to tgp and --drop picture leave out";
    return error.empty();
}

// The solver's options belong to the commands that solve.
bool CheckSolveOptions(const CommandLine& line, std::string& error)
{
    const bool render = line.command == CommandLine::Command::Render;
    const bool convert = line.command == CommandLine::Command::Convert;
    const bool solves = line.command == CommandLine::Command::Solve || ((render || convert) && line.solution);
    if (line.blank && !render)
        error = "--blank belongs to render";
    else if (line.solution && !render && !convert)
        error = "--solution belongs to render and convert";
    else if (line.maxSeconds && !solves)
        error = "--max-seconds belongs to solve, and render and convert --solution";
    return error.empty();
}

// A thumbnail is made of one puzzle file, into the PNG file named after it.
bool TakeThumbnailTarget(CommandLine& line, std::string& error)
{
    if (line.thumbnailSize == 0)
        error = "thumbnail needs -s SIZE";
    else if (line.files.size() != 2)
        error = "thumbnail takes one puzzle file and the PNG file to write";
    else if (line.json)
        error = "--json belongs to info and solve";
    else {
        line.outputFile = line.files.back();
        line.files.pop_back();
    }
    return error.empty();
}

} // namespace

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& arguments, std::string& error)
{
    CommandLine line;
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h")
        return line;
    if (arguments[0] == "info")
        line.command = CommandLine::Command::Info;
    else if (arguments[0] == "render")
        line.command = CommandLine::Command::Render;
    else if (arguments[0] == "thumbnail")
        line.command = CommandLine::Command::Thumbnail;
    else if (arguments[0] == "solve")
        line.command = CommandLine::Command::Solve;
    else if (arguments[0] == "convert")
        line.command = CommandLine::Command::Convert;
    else {
        error = "unknown command '" + arguments[0] + "'";
        return std::nullopt;
    }
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help") {
            line.command = CommandLine::Command::Help;
            return line;
        }
        if (!argument.starts_with('-') || argument == "-") {
            line.files.push_back(argument);
            continue;
        }
        if (ApplySwitch(argument, line))
            continue;
        if (i + 1 >= arguments.size()) {
            error = "option '" + argument + "' needs a value";
            return std::nullopt;
        }
        if (!ApplyValueOption(argument, arguments[++i], line, error))
            return std::nullopt;
    }
    if (line.files.empty()) {
        error = "no file given";
        return std::nullopt;
    }
    if (line.command == CommandLine::Command::Render && !CheckRenderTarget(line, error))
        return std::nullopt;
    if (line.command == CommandLine::Command::Convert && !CheckConvertTarget(line, error))
        return std::nullopt;
    if (line.command == CommandLine::Command::Thumbnail && !TakeThumbnailTarget(line, error))
        return std::nullopt;
    if (!CheckSolveOptions(line, error))
        return std::nullopt;
    return line;
}
