#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace tolvane {

// What a web page tells the site scan about itself.
struct PageSummary {
    // The caption as HTML: the title a browser shows for the page, else the text of its first
    // <h1>, with whitespace runs made one blank, the ends trimmed and &, <, > written as
    // references; "" when the page has neither.
    std::string caption;
    // <meta name="robots" content="noindex"> (or "none"): the page asks not to be listed.
    bool noindex = false;
};

// Reads web pages with an HTML5 parser (gumbo), each only as far as it must: a page whose
// title and whole <head> lie in its first few kilobytes is read no further. Holds the memory
// the parser works in from one page to the next, so a scan of thousands of pages allocates it
// once. Not for use from two threads at a time.
class PageReader {
  public:
    PageReader();
    ~PageReader();
    PageReader(const PageReader&) = delete;
    PageReader& operator=(const PageReader&) = delete;

    // The page at `path`. Errors: "Cannot open file ..." when it cannot be read.
    PageSummary ReadPage(const std::string& path);
    // A whole page already in memory.
    PageSummary Summarize(std::string_view page);

    // The parser's memory (page_summary.cpp); named here so the parser's callbacks reach it.
    class Arena;

  private:
    std::unique_ptr<Arena> arena_;
    std::string bytes_;
};

// `text` with each run of HTML whitespace made one blank and the ends trimmed.
std::string CollapseWhitespace(std::string_view text);

// `text` written as HTML: "&", "<" and ">" as character references.
std::string EscapeHtmlText(std::string_view text);

}  // namespace tolvane
