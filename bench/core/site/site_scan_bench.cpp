// The site scan over a generated site of 10,000 pages of 5 to 50 KB, against the floor of
// reading every page whole with `find SITE -name '*.html' -exec cat {} +`, side by side in one
// run. The first run of each is shown apart from the warm ones: on these machines the first
// touch of each memory page costs a lot, and a user's scan is mostly a first run.
//
// Target: the scan within 3x of the floor (warm medians); it reads only the start of most pages,
// so it may also beat it. Also shown: tolvane-build --scan as a process (a new process each
// run, so every run is a first touch), building the whole search page.
//
// Usage: site_scan_bench [PAGES]   (default 10000); TOLVANE_BENCH_RUNS sets the warm runs (5).
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "core/files/paths.h"
#include "core/files/text_file.h"
#include "core/site/site_scan.h"

namespace {

using tolvane::bench::ScratchFolder;
using tolvane::bench::SecondsSince;

constexpr int kPagesPerFolder = 100;

// Words for the generated text.
const char* const kWords[] = {"garden", "river",  "market", "history", "the",   "of",
                              "and",    "school", "music",  "bridge",  "walks", "photos",
                              "annual", "report", "notes",  "village", "a",     "in"};

std::string Words(std::mt19937& random, int count) {
    std::uniform_int_distribution<std::size_t> pick(0, std::size(kWords) - 1);
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += (i == 0 ? "" : " ");
        text += kWords[pick(random)];
    }
    return text;
}

// A page as sites are written: a head with the usual <meta> and <link> elements and the title,
// one page in ten with a long inline script before the title (so that it must be read further),
// then a body of navigation, headings and paragraphs up to `size` bytes.
std::string PageText(std::mt19937& random, std::size_t size, int number) {
    std::string page =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<meta name=\"description\" content=\"" +
        Words(random, 20) +
        "\">\n<link rel=\"stylesheet\" href=\"/css/site.css\">\n"
        "<link rel=\"icon\" href=\"/favicon.ico\">\n";
    if (number % 10 == 0) {
        page += "<script>\nvar settings = {";
        while (page.size() < 9000) {
            page.append(1, '"').append(Words(random, 1)).append(std::to_string(page.size()));
            page.append("\": true, ");
        }
        page += "};\n</script>\n";
    }
    page += "<title>" + Words(random, 4) + " &amp; page " + std::to_string(number) +
            "</title>\n</head>\n<body>\n<nav><ul><li><a href=\"/\">Home</a></li>"
            "<li><a href=\"/news/\">News</a></li><li><a href=\"/about.html\">About</a></li>"
            "</ul></nav>\n<main>\n<h1>" +
            Words(random, 5) + "</h1>\n";
    while (page.size() < size) {
        page += "<h2>" + Words(random, 3) + "</h2>\n<p>" + Words(random, 120) + " <a href=\"page" +
                std::to_string(number + 1) + ".html\">more</a>.</p>\n";
    }
    page += "</main>\n<footer>&copy; 2026 Example</footer>\n</body>\n</html>\n";
    return page;
}

// Writes the site: `pages` pages in folders of a hundred; returns the bytes written.
std::size_t WriteSite(const std::string& site, int pages) {
    std::mt19937 random(11);
    std::uniform_int_distribution<std::size_t> size(5 * 1024, 50 * 1024);
    std::size_t bytes = 0;
    for (int number = 0; number < pages; ++number) {
        const std::string folder =
            site + "section" + std::to_string(number / kPagesPerFolder) + "/";
        if (number % kPagesPerFolder == 0) {
            std::filesystem::create_directories(folder);
        }
        const std::string page = PageText(random, size(random), number);
        tolvane::WriteText(folder + "page" + std::to_string(number) + ".html", page);
        bytes += page.size();
    }
    return bytes;
}

double ScanSeconds(const std::string& site, std::size_t& pages_found) {
    const auto start = std::chrono::steady_clock::now();
    tolvane::SiteScanner scanner{std::string(tolvane::kDefaultLinkPrefix)};
    scanner.ScanFolder(site);
    pages_found = scanner.Pages().size();
    return SecondsSince(start);
}

double CommandSeconds(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "site_scan_bench: failed: %s\n", command.c_str());
        std::exit(1);
    }
    return SecondsSince(start);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Timing {
    double first = 0;
    std::vector<double> warm;
};

void PrintRow(const char* name, const Timing& timing, int pages) {
    const double warm = Median(timing.warm);
    std::printf("%-34s %9.3f s %9.3f s %12.0f %12.0f\n", name, timing.first, warm,
                pages / timing.first, pages / warm);
}

}  // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 10000;
    const char* runs_text = std::getenv("TOLVANE_BENCH_RUNS");
    const int runs = runs_text != nullptr ? std::max(1, std::atoi(runs_text)) : 5;
    const std::string build_program =
        tolvane::TrimToFolder(tolvane::ProgramFilePath()) + "../cli/tolvane-build";
    const std::string data_folder = std::string(TOLVANE_SOURCE_DIR) + "/data";

    ScratchFolder scratch;
    const std::string site = scratch / "site/";
    const std::size_t bytes = WriteSite(site, pages);
    std::printf("site: %d pages, %.1f MB, in %s\n", pages, bytes / 1e6, site.c_str());

    const std::string floor_command =
        "find '" + site + "' -name '*.html' -exec cat {} + >/dev/null";
    const std::string build_command = "'" + build_program + "' --data '" + data_folder +
                                      "' --scan '" + site + "' -o '" + scratch.path() + "out'";
    Timing scan;
    Timing floor;
    Timing build;
    std::size_t found = 0;
    // Side by side: each run of the scan next to a run of the floor, first runs first.
    for (int run = 0; run <= runs; ++run) {
        const double scan_seconds = ScanSeconds(site, found);
        const double floor_seconds = CommandSeconds(floor_command);
        const double build_seconds = CommandSeconds(build_command);
        if (run == 0) {
            scan = {scan_seconds, {}};
            floor = {floor_seconds, {}};
            build = {build_seconds, {}};
        } else {
            scan.warm.push_back(scan_seconds);
            floor.warm.push_back(floor_seconds);
            build.warm.push_back(build_seconds);
        }
    }
    if (found != static_cast<std::size_t>(pages)) {
        std::fprintf(stderr, "site_scan_bench: the scan found %zu pages of %d\n", found, pages);
        return 1;
    }

    std::printf("%-34s %11s %11s %12s %12s\n", "", "first run", "warm median", "pages/s 1st",
                "pages/s warm");
    PrintRow("SiteScanner::ScanFolder", scan, pages);
    PrintRow("find -name '*.html' -exec cat", floor, pages);
    PrintRow("tolvane-build --scan (a process)", build, pages);
    const double ratio = Median(scan.warm) / Median(floor.warm);
    std::printf("scan / floor, warm medians: %.2fx (target within 3x: %s); first runs: %.2fx\n",
                ratio, ratio <= 3.0 ? "met" : "MISSED", scan.first / floor.first);
    return 0;
}
