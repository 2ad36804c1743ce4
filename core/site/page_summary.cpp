#include "core/site/page_summary.h"

#include <gumbo.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "core/files/encodings.h"
#include "core/files/text_file.h"
#include "core/site/text_encoding.h"

namespace tolvane {

// The parser's memory: blocks handed out front to back and all taken back at once before the
// next parse. Freeing single pieces does nothing, so the parser's tree costs no frees at all.
class PageReader::Arena {
  public:
    static constexpr std::size_t kBlockBytes = 1 << 18;
    static constexpr std::size_t kAlignment = 16;

    void* Allocate(std::size_t size) {
        size = (size + kAlignment - 1) & ~(kAlignment - 1);
        if (size > kBlockBytes) {
            oversized_.push_back(std::make_unique<char[]>(size));
            return oversized_.back().get();
        }
        if (blocks_.empty() || used_ + size > kBlockBytes) {
            NextBlock();
        }
        void* piece = blocks_[current_].get() + used_;
        used_ += size;
        return piece;
    }

    // Takes every piece back; the blocks stay for the next page.
    void Reset() {
        current_ = 0;
        used_ = 0;
        oversized_.clear();
    }

  private:
    void NextBlock() {
        if (!blocks_.empty() && current_ + 1 < blocks_.size()) {
            ++current_;
        } else {
            blocks_.push_back(std::make_unique<char[]>(kBlockBytes));
            current_ = blocks_.size() - 1;
        }
        used_ = 0;
    }

    std::vector<std::unique_ptr<char[]>> blocks_;
    std::vector<std::unique_ptr<char[]>> oversized_;
    std::size_t current_ = 0;
    std::size_t used_ = 0;
};

namespace {

// How much of a page is read first: the head of most pages, title and all, fits. A page that
// needs more is read on in steps that each make the read part four times as long.
constexpr std::size_t kFirstReadBytes = 4096;

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    return text.size() >= start.size() && AsciiLowerCase(text.substr(0, start.size())) == start;
}

// Just after the first tag that begins with `name` ("<body"), or npos when none is complete.
std::size_t AfterFirstTag(std::string_view bytes, std::string_view name) {
    for (std::size_t at = bytes.find('<'); at != std::string_view::npos;
         at = bytes.find('<', at + 1)) {
        if (StartsWithNoCase(bytes.substr(at), name)) {
            const std::size_t close = bytes.find('>', at);
            return close == std::string_view::npos ? close : close + 1;
        }
    }
    return std::string_view::npos;
}

// Where the parser can most likely stop: just after "<body ...>", else after "</head>" (what
// stands between the two may still belong to the head). The parser is slow next to reading (it
// takes each character on its own), so it is given only that much first. This is a guess, never
// the answer: the parse decides whether the head really ended there, and a guess that lay
// inside a comment or a script leads to the whole page.
std::size_t HeadEndHint(std::string_view bytes) {
    const std::size_t body = AfterFirstTag(bytes, "<body");
    return body != std::string_view::npos ? body : AfterFirstTag(bytes, "</head");
}

void* ArenaAllocate(void* arena, std::size_t size) {
    return static_cast<PageReader::Arena*>(arena)->Allocate(size);
}

void ArenaFree(void* /*arena*/, void* /*piece*/) {}

bool IsHtmlElement(const GumboNode* node, GumboTag tag) {
    return node->type == GUMBO_NODE_ELEMENT && node->v.element.tag == tag &&
           node->v.element.tag_namespace == GUMBO_NAMESPACE_HTML;
}

bool IsText(const GumboNode* node) {
    return node->type == GUMBO_NODE_TEXT || node->type == GUMBO_NODE_WHITESPACE ||
           node->type == GUMBO_NODE_CDATA;
}

std::string_view AttributeValue(const GumboNode* element, const char* name) {
    const GumboAttribute* attribute = gumbo_get_attribute(&element->v.element.attributes, name);
    return attribute != nullptr ? std::string_view(attribute->value) : std::string_view();
}

// True when a robots <meta> content ("noindex, follow") holds "noindex" or "none".
bool SaysNoIndex(std::string_view content) {
    const std::string lower = AsciiLowerCase(content);
    std::size_t start = 0;
    while (start <= lower.size()) {
        const std::size_t end = std::min(lower.find(',', start), lower.size());
        std::string_view token = std::string_view(lower).substr(start, end - start);
        const std::string word = CollapseWhitespace(token);
        if (word == "noindex" || word == "none") {
            return true;
        }
        start = end + 1;
    }
    return false;
}

// Only the head's <meta> elements speak for the page, as only the head is sure to be read.
bool InHead(const GumboNode* node) {
    for (const GumboNode* above = node->parent; above != nullptr; above = above->parent) {
        if (IsHtmlElement(above, GUMBO_TAG_HEAD)) {
            return true;
        }
    }
    return false;
}

// What the parse of a page, or of its beginning, found.
struct PageFacts {
    const GumboNode* title = nullptr;    // the first HTML <title>
    const GumboNode* heading = nullptr;  // the first HTML <h1>
    std::optional<std::string> declared_encoding;
    bool noindex = false;
    bool head_ended = false;

    void Note(const GumboNode* element) {
        if (title == nullptr && IsHtmlElement(element, GUMBO_TAG_TITLE)) {
            title = element;
        } else if (heading == nullptr && IsHtmlElement(element, GUMBO_TAG_H1)) {
            heading = element;
        } else if (IsHtmlElement(element, GUMBO_TAG_META) && InHead(element)) {
            NoteMeta(element);
        }
    }

    void NoteMeta(const GumboNode* meta) {
        if (AsciiLowerCase(AttributeValue(meta, "name")) == "robots" &&
            SaysNoIndex(AttributeValue(meta, "content"))) {
            noindex = true;
        }
        if (declared_encoding) {
            return;
        }
        if (gumbo_get_attribute(&meta->v.element.attributes, "charset") != nullptr) {
            declared_encoding = std::string(AttributeValue(meta, "charset"));
        } else if (AsciiLowerCase(AttributeValue(meta, "http-equiv")) == "content-type") {
            std::string charset = ContentTypeCharset(AttributeValue(meta, "content"));
            if (!charset.empty()) {
                declared_encoding = std::move(charset);
            }
        }
    }
};

// The head is over once the parser closed it or put anything into the body.
bool HeadEnded(const GumboNode* html) {
    for (unsigned i = 0; i < html->v.element.children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(html->v.element.children.data[i]);
        if (IsHtmlElement(child, GUMBO_TAG_HEAD) && child->v.element.original_end_tag.length > 0) {
            return true;
        }
        if (IsHtmlElement(child, GUMBO_TAG_BODY)) {
            return child->v.element.original_tag.length > 0 || child->v.element.children.length > 0;
        }
    }
    return false;
}

// Walks the document in tree order. Template contents are no part of the document a browser
// shows, so they are left out.
PageFacts CollectFacts(const GumboNode* document) {
    PageFacts facts;
    std::vector<const GumboNode*> pending = {document};
    while (!pending.empty()) {
        const GumboNode* node = pending.back();
        pending.pop_back();
        const GumboVector* children = nullptr;
        if (node->type == GUMBO_NODE_DOCUMENT) {
            children = &node->v.document.children;
        } else if (node->type == GUMBO_NODE_ELEMENT) {
            facts.Note(node);
            if (IsHtmlElement(node, GUMBO_TAG_HTML)) {
                facts.head_ended = HeadEnded(node);
            }
            children = &node->v.element.children;
        }
        if (children != nullptr) {
            for (unsigned i = children->length; i-- > 0;) {
                pending.push_back(static_cast<const GumboNode*>(children->data[i]));
            }
        }
    }
    return facts;
}

// The text of `element`: its own text children for a <title> (what a browser shows), every
// text below it for other elements. `as_written` takes the page's bytes as they stand, before
// the parser read them as UTF-8 and decoded the references.
void AppendText(const GumboNode* element, bool descend, bool as_written, std::string& text) {
    const GumboVector& children = element->v.element.children;
    for (unsigned i = 0; i < children.length; ++i) {
        const auto* child = static_cast<const GumboNode*>(children.data[i]);
        if (IsText(child)) {
            if (as_written) {
                text.append(child->v.text.original_text.data, child->v.text.original_text.length);
            } else {
                text.append(child->v.text.text);
            }
        } else if (descend && child->type == GUMBO_NODE_ELEMENT) {
            AppendText(child, descend, as_written, text);
        }
    }
}

// The encoding the page's text is in, when it is not UTF-8: the declared one, else Windows-1252
// for bytes that are not valid UTF-8; "" for UTF-8.
std::string LegacyEncoding(const PageFacts& facts, std::string_view bytes, bool complete) {
    const std::string declared = IconvEncodingName(facts.declared_encoding.value_or(""));
    if (!declared.empty()) {
        return IsUtf8Name(declared) ? std::string() : declared;
    }
    return IsValidUtf8(bytes, !complete) ? std::string() : "WINDOWS-1252";
}

class GumboParse {
  public:
    GumboParse(PageReader::Arena& arena, std::string_view text) {
        options_.allocator = ArenaAllocate;
        options_.deallocator = ArenaFree;
        options_.userdata = &arena;
        options_.max_errors = 0;
        output_ = gumbo_parse_with_options(&options_, text.data(), text.size());
    }
    // The arena takes the tree back as a whole; nothing to free one by one.
    ~GumboParse() = default;
    GumboParse(const GumboParse&) = delete;
    GumboParse& operator=(const GumboParse&) = delete;

    const GumboNode* Document() const { return output_->document; }

  private:
    GumboOptions options_ = kGumboDefaultOptions;
    GumboOutput* output_ = nullptr;
};

// Converted text with its character references still in it, decoded as a title would be.
std::string DecodeReferences(PageReader::Arena& arena, const std::string& text) {
    const GumboParse parse(arena, "<title>" + text);
    const PageFacts facts = CollectFacts(parse.Document());
    std::string decoded;
    if (facts.title != nullptr) {
        AppendText(facts.title, false, false, decoded);
    }
    return decoded;
}

// The caption that the text of `source` makes (none without a source): read in the page's
// `legacy` encoding when it has one, whitespace collapsed, written as HTML.
std::string CaptionOf(PageReader::Arena& arena, const GumboNode* source, bool descend,
                      const std::string& legacy) {
    if (source == nullptr) {
        return {};
    }
    std::string text;
    AppendText(source, descend, !legacy.empty(), text);
    if (!legacy.empty()) {
        text = DecodeReferences(arena, ConvertToUtf8(text, legacy));
    }
    return EscapeHtmlText(CollapseWhitespace(text));
}

// The summary, or nothing while the page's beginning does not settle it: the whole head must
// have been read (for the robots <meta>), and a closed <title> found.
std::optional<PageSummary> TrySummarize(PageReader::Arena& arena, std::string_view bytes,
                                        bool complete) {
    arena.Reset();
    std::size_t mark_length = 0;
    const std::string marked_encoding = ByteOrderMarkEncoding(bytes, mark_length);
    // A page in UTF-16 is read as UTF-8 after conversion; one in UTF-8 without its mark.
    const std::string converted = !marked_encoding.empty() && !IsUtf8Name(marked_encoding)
                                      ? ConvertToUtf8(bytes.substr(mark_length), marked_encoding)
                                      : std::string();
    const std::string_view text = converted.empty() ? bytes.substr(mark_length) : converted;
    const GumboParse parse(arena, text);
    const PageFacts facts = CollectFacts(parse.Document());
    const bool title_closed =
        facts.title != nullptr && facts.title->v.element.original_end_tag.length > 0;
    if (!complete && !(facts.head_ended && title_closed)) {
        return std::nullopt;
    }
    const std::string legacy =
        marked_encoding.empty() ? LegacyEncoding(facts, text, complete) : std::string();
    PageSummary summary;
    summary.noindex = facts.noindex;
    summary.caption = CaptionOf(arena, facts.title, false, legacy);
    // A title that says nothing leaves the caption to an <h1>, which may come later in the page
    // and whose text may go on past the part read: only the whole page tells.
    if (summary.caption.empty() && !complete) {
        return std::nullopt;
    }
    if (summary.caption.empty()) {
        summary.caption = CaptionOf(arena, facts.heading, true, legacy);
    }
    return summary;
}

}  // namespace

PageReader::PageReader() : arena_(std::make_unique<Arena>()) {}

PageReader::~PageReader() = default;

PageSummary PageReader::ReadPage(const std::string& path) {
    FileReader file(path);
    bytes_.clear();
    bool complete = !file.ReadMore(bytes_, kFirstReadBytes);
    std::size_t head_end = HeadEndHint(bytes_);
    while (head_end == std::string::npos && !complete) {
        complete = !file.ReadMore(bytes_, bytes_.size() * 3);
        head_end = HeadEndHint(bytes_);
    }
    if (head_end != std::string::npos) {
        const std::string_view head = std::string_view(bytes_).substr(0, head_end);
        if (std::optional<PageSummary> summary = TrySummarize(*arena_, head, false)) {
            return *summary;
        }
    }
    // No end of the head in sight, or the hint lay inside a comment or a script: the whole page.
    while (!complete) {
        complete = !file.ReadMore(bytes_, bytes_.size() * 3);
    }
    return *TrySummarize(*arena_, bytes_, true);
}

PageSummary PageReader::Summarize(std::string_view page) {
    return *TrySummarize(*arena_, page, true);
}

std::string CollapseWhitespace(std::string_view text) {
    std::string collapsed;
    collapsed.reserve(text.size());
    bool pending_blank = false;
    for (const char c : text) {
        if (IsHtmlWhitespace(c)) {
            pending_blank = !collapsed.empty();
            continue;
        }
        if (pending_blank) {
            collapsed += ' ';
            pending_blank = false;
        }
        collapsed += c;
    }
    return collapsed;
}

std::string EscapeHtmlText(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace tolvane
