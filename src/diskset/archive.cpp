// The descriptor parser: archive.dat is read whole into a fixed buffer in one read and walked
// line by line through a fixed line buffer; every field of a FILE entry is found by its
// position. Input outside the descriptor format never moves a position outside either buffer:
// it ends the parse with one of the codes of diskset::parseFault (archive.h).
#include "diskset/archive.h"

#include <array>

#include "fs/file_system.h"
#include "platform/error.h"
#include "state/state.h"

namespace diskset {

double parseNumber(const uint8_t* buffer, int size, int16_t start) {
    double value = 0;
    for (int index = start; index >= 0 && index < size; ++index) {
        const uint8_t byte = buffer[index];
        if (byte < '0' || byte > '9')
            break;
        value = value * 10 + (byte - 48);
    }
    return value;
}

namespace {

constexpr int descriptorSize = 10001;  // the largest descriptor and a 0 after it
constexpr int16_t maxLength = 10000;
constexpr int16_t lineSize = 101;  // 100 characters and the end mark
constexpr int16_t maxLineChars = 100;

// The descriptor and the walk through it.
struct Walk {
    std::array<uint8_t, descriptorSize> data{};
    int16_t length = 0;
    int16_t readPos = 0;
    std::array<uint8_t, lineSize> line{};
    int16_t lineLength = 0;  // the end mark's index
};

enum class LineEnd { lf, endOfFile, tooLong };

// Copies the line at the reading position into the line buffer, up to its LF or the end of
// the file, and moves the reading position past the LF. `limit` is the highest number of
// characters the buffer may take for this line. With `turnSlashes` every "/" is held as "\".
LineEnd copyLine(Walk& w, int16_t limit, bool turnSlashes) {
    int16_t writePos = 0;
    while (w.readPos < w.length && w.data[w.readPos] != '\n') {
        if (writePos >= limit)
            return LineEnd::tooLong;
        uint8_t byte = w.data[w.readPos];
        if (turnSlashes && byte == '/')
            byte = '\\';
        w.line[writePos] = byte;
        ++writePos;
        ++w.readPos;
    }
    w.line[writePos] = 0;
    w.lineLength = writePos;
    if (w.readPos >= w.length)
        return LineEnd::endOfFile;
    ++w.readPos;  // past the LF
    return LineEnd::lf;
}

double numberAt(const Walk& w, int position) {
    return parseNumber(w.line.data(), w.lineLength, static_cast<int16_t>(position));
}

bool endAt(const Walk& w, int position) {
    return position >= w.lineLength || w.line[position] == 0;
}

bool isDigitAt(const Walk& w, int position) {
    return !endAt(w, position) && w.line[position] >= '0' && w.line[position] <= '9';
}

bool isBlankAt(const Walk& w, int position) {
    return !endAt(w, position) && w.line[position] == ' ';
}

bool startsWithFileKeyword(const Walk& w) {
    static constexpr uint8_t keyword[] = {'F', 'I', 'L', 'E', ':'};
    if (w.lineLength < 5)
        return false;
    for (int k = 0; k < 5; ++k) {
        if (w.line[k] != keyword[k])
            return false;
    }
    return true;
}

// A name that stays below the diskette area it is joined to: "\" first, and no empty, "." or
// ".." component and no drive colon anywhere.
bool isSafeName(const std::string& name) {
    if (name.empty() || name[0] != '\\')
        return false;
    if (name.find(':') != std::string::npos)
        return false;
    size_t start = 1;
    for (;;) {
        const size_t end = name.find('\\', start);
        const std::string part =
            name.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (end == std::string::npos)
            return true;
        start = end + 1;
    }
}

// Reads the text from `position` to the next blank or the end of the line.
std::string fieldAt(const Walk& w, int& position) {
    std::string text;
    while (!endAt(w, position) && w.line[position] != ' ') {
        text += static_cast<char>(w.line[position]);
        ++position;
    }
    return text;
}

// Fills `entry` from the entry line in the line buffer; returns 0 or the fault's code.
int parseEntry(const Walk& w, app::FileEntry& entry) {
    if (w.lineLength == 0 || (w.lineLength == 1 && w.line[0] == '\r'))
        return parseFault::blankEntryLine;
    const double disk = numberAt(w, 6);
    if (disk < 1 || disk > 99)
        return parseFault::diskOutOfRange;
    entry.disk = static_cast<int16_t>(disk);
    const int width = entry.disk < 10 ? 1 : 2;
    // Blank, split flag, blank, last-part flag, blank, the checksum's first digit.
    for (int position = 6 + width; position <= 11 + width; ++position) {
        if (endAt(w, position))
            return parseFault::entryCutShort;
        const bool wantBlank = (position - width) % 2 == 0;
        if (wantBlank ? !isBlankAt(w, position) : !isDigitAt(w, position))
            return parseFault::misplacedField;
    }
    entry.split = numberAt(w, width + 7) != 0;
    entry.lastPart = numberAt(w, width + 9) != 0;
    entry.archivedSum = numberAt(w, width + 11);

    int position = width + 12;  // the checksum's digits after its first one
    while (!endAt(w, position) && w.line[position] != ' ') {
        if (!isDigitAt(w, position))
            return parseFault::misplacedField;
        ++position;
    }
    if (endAt(w, position))
        return parseFault::entryCutShort;
    ++position;  // past the blank
    entry.name = fieldAt(w, position);
    if (entry.name.empty() || endAt(w, position))
        return parseFault::entryCutShort;
    ++position;
    entry.extraText = fieldAt(w, position);
    if (!isSafeName(entry.name))
        return parseFault::unsafeName;
    return 0;
}

// The fault of a first or second line: it must end in an LF within the line buffer.
int lineFault(LineEnd end) {
    if (end == LineEnd::tooLong)
        return parseFault::lineTooLong;
    if (end == LineEnd::endOfFile)
        return parseFault::unendedLine;
    return 0;
}

// Walks the descriptor in `w` and fills the module results; returns 0 or the fault's code.
int entriesSeen = 0;

int parseLines(Walk& w) {
    // The Archive ID line; its first byte is passed over, so the ID's digits at the file's
    // 18th byte stand at index 16 of the line buffer.
    w.readPos = 1;
    int fault = lineFault(copyLine(w, maxLineChars - 1, false));
    if (fault != 0)
        return fault;
    app::archiveId = numberAt(w, 16);

    fault = lineFault(copyLine(w, maxLineChars, false));
    if (fault != 0)
        return fault;
    // A count of 100 or more is kept: the reader ends the program when it gets there. No
    // count at all describes no set.
    const double disks = numberAt(w, 10);
    if (disks < 1 || disks > 32767)
        return parseFault::diskCountOutOfRange;
    app::totalDisks = static_cast<int16_t>(disks);

    int16_t lineStart = 0;
    for (;;) {
        if (w.readPos >= w.length)
            return parseFault::noEntries;
        lineStart = w.readPos;
        if (copyLine(w, maxLineChars, false) == LineEnd::tooLong)
            return parseFault::lineTooLong;
        if (startsWithFileKeyword(w))
            break;
    }
    w.readPos = lineStart;

    int16_t counter = 1;
    while (w.readPos < w.length && counter <= app::FileTable::capacity) {
        if (copyLine(w, maxLineChars, true) == LineEnd::tooLong)
            return parseFault::lineTooLong;
        app::FileEntry entry;
        fault = parseEntry(w, entry);
        if (fault != 0)
            return fault;
        app::fileTable(counter) = std::move(entry);
        ++counter;
    }
    app::fileCount = static_cast<int16_t>(counter - 1);
    entriesSeen = app::fileCount;
    // Files past the table would reach the card unchecked: the set is refused instead.
    while (w.readPos < w.length) {
        if (copyLine(w, maxLineChars, true) == LineEnd::tooLong)
            return parseFault::lineTooLong;
        if (startsWithFileKeyword(w))
            ++entriesSeen;
    }
    return entriesSeen > app::FileTable::capacity ? parseFault::tooManyEntries : 0;
}

}  // namespace

int descriptorEntries() {
    return entriesSeen;
}

int parseArchive(const std::string& path) {
    entriesSeen = 0;
    int64_t length = 0;
    try {
        length = fs::fileLength(path);
    } catch (const platform::Error& e) {
        return e.code();
    }
    if (length < 1)
        return 2;
    if (length > maxLength)
        return 3;

    Walk w;
    w.length = static_cast<int16_t>(length);
    try {
        fs::BinaryFile file(path);
        // Never more than the length taken, so the byte after the descriptor stays 0 even if
        // the file grew meanwhile.
        file.read(w.data.data(), static_cast<size_t>(w.length));
        file.close();
    } catch (const platform::Error& e) {
        return e.code();
    }
    return parseLines(w);
}

int parseDescriptor(const std::string& path, Descriptor& out) {
    // The parser fills the conversion's state: it is put back as it was, so that a card's
    // descriptor can be read at any step of a conversion.
    Descriptor saved{app::archiveId, app::totalDisks, app::fileTable, app::fileCount};
    const int seen = entriesSeen;
    const int fault = parseArchive(path);
    out = Descriptor{app::archiveId, app::totalDisks, app::fileTable, app::fileCount};
    app::archiveId = saved.archiveId;
    app::totalDisks = saved.totalDisks;
    app::fileTable = std::move(saved.entries);
    app::fileCount = saved.count;
    entriesSeen = seen;
    return fault;
}

}  // namespace diskset
