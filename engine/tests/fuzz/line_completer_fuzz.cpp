// Completion of a text file: the streaming completer fed in pieces of random
// sizes must give what it gives fed whole, and both what a whole-file model
// gives: split at CR LF only, remove spaces and full-width spaces, drop a
// lone lead byte at a line's end, append the check character, end with CR LF.
#include <string>
#include <vector>

#include "check_digit_model.h"
#include "fuzz_support.h"
#include "line_completer.h"

namespace {

using numbrook::Mode;

std::vector<std::string> splitLines(std::string_view content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = content.find("\r\n", start);
        if (end == std::string_view::npos) break;
        lines.emplace_back(content.substr(start, end - start));
        start = end + 2;
    }
    // Content that ends with CR LF has no empty line after it, but empty
    // content is one empty line.
    if (start < content.size() || content.empty()) lines.emplace_back(content.substr(start));
    return lines;
}

std::string withoutSpaces(std::string_view line) {
    std::string out;
    for (std::size_t i = 0; i < line.size();) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x80) {
            if (c != ' ') out.push_back(line[i]);
            ++i;
        } else if (i + 1 < line.size()) {
            const auto trail = static_cast<unsigned char>(line[i + 1]);
            if (!(c == 0xA1 && trail == 0xA1)) out.append(line.substr(i, 2));
            i += 2;
        } else {
            ++i;  // a lead byte without its trail byte
        }
    }
    return out;
}

std::string completeWhole(std::string_view content, Mode mode, std::size_t& lineCount) {
    std::string out;
    const std::vector<std::string> lines = splitLines(content);
    for (const std::string& line : lines) {
        const std::string cleaned = withoutSpaces(line);
        out += cleaned + fuzz_model::checkCharacter(cleaned, mode) + "\r\n";
    }
    lineCount = lines.size();
    return out;
}

// Line ends, spaces, full-width spaces and lead bytes are what the splitter
// has to get right at piece boundaries; digits make lines long enough to get
// a check character.
constexpr std::string_view kAlphabet[] = {"0",        "1",
                                          "2",        "3",
                                          "4",        "5",
                                          "6",        "7",
                                          "8",        "9",
                                          "4",        "9",
                                          "A",        "f",
                                          "\r\n",     "\r\n",
                                          "\r",       "\n",
                                          " ",        " ",
                                          "\xA1\xA1", "\xA1",
                                          "\xA3\xB1", "\xB0",
                                          "\t",       std::string_view("\0", 1)};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz_support::ByteReader input(data, size);
    const std::uint8_t flags = input.byte();
    const Mode mode = (flags & 1) ? Mode::Meid : Mode::Imei;
    // Piece sizes come from their own bytes, so that the fuzzer can move the
    // boundaries without changing the content.
    const std::string_view sizes = input.bytes(input.byte() % 32);
    const std::string_view raw = input.rest();
    const std::string content =
        (flags & 2) ? std::string(raw) : fuzz_support::mapToAlphabet(raw, kAlphabet);

    numbrook::detail::LineCompleter whole(mode);
    numbrook::detail::ByteSink wholeSink;
    whole.feed(content, wholeSink);
    whole.finish(wholeSink);
    const std::string wholeOut(wholeSink.view());

    numbrook::detail::LineCompleter pieces(mode);
    numbrook::detail::ByteSink piecesSink;
    std::size_t at = 0;
    for (std::size_t k = 0; at < content.size(); ++k) {
        std::size_t piece =
            sizes.empty() ? 1 : static_cast<unsigned char>(sizes[k % sizes.size()]) % 40;
        if (piece == 0) {
            // An empty piece must change nothing.
            pieces.feed({}, piecesSink);
            piece = 1;
        }
        pieces.feed(std::string_view(content).substr(at, piece), piecesSink);
        at += piece;
    }
    pieces.finish(piecesSink);
    const std::string piecesOut(piecesSink.view());

    std::size_t modelLines = 0;
    const std::string expected = completeWhole(content, mode, modelLines);
    const std::string details = std::string(mode == Mode::Imei ? "IMEI" : "MEID") + " content " +
                                fuzz_support::printable(content);
    FUZZ_CHECK(wholeOut == expected, details + ": fed whole gives " +
                                         fuzz_support::printable(wholeOut) + ", expected " +
                                         fuzz_support::printable(expected));
    FUZZ_CHECK(piecesOut == expected, details + ": fed in pieces gives " +
                                          fuzz_support::printable(piecesOut) + ", expected " +
                                          fuzz_support::printable(expected));
    FUZZ_CHECK(whole.lines() == modelLines && pieces.lines() == modelLines,
               details + ": line counts " + std::to_string(whole.lines()) + " and " +
                   std::to_string(pieces.lines()) + ", expected " + std::to_string(modelLines));
    return 0;
}
