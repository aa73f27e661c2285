#pragma once

#include "rtf/rtf_document.h"

#include <QtGlobal>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

namespace drillpad {

// Paragraphs on their way from the thread that reads a file to the editor's
// thread, which fills them in while the rest is still being read. The
// reader hands them over in order, with the table rows they belong to, once
// nothing read later can change them; the reading thread closes the feed
// when it is done, with the rest of the document (what was not handed over,
// the page, the header, the default font), or with nothing when the file
// was refused or the reading stopped.
class RtfFeed {
public:
    // ---- the reading thread's side

    // `bytesRead` of `bytesTotal` tells how far the reading is.
    void hand(std::vector<RtfParagraph> &&paragraphs, std::vector<RtfRow> &&rows,
              qsizetype bytesRead, qsizetype bytesTotal);
    void close(std::optional<RtfDocument> rest);

    // ---- the editor's side

    // Paragraphs came, or the feed was closed.
    bool hasNews() const;
    // Paragraphs came, or the feed was closed with the rest of a document.
    bool hasRichText() const;
    // Waits at most `wait` for news.
    void waitForNews(std::chrono::milliseconds wait) const;
    // Appends the next paragraphs handed over, with their rows, to `into`,
    // in the pieces the reader handed them over in; after the last piece
    // of a closed feed, the rest and its page, header and default font.
    // True when that was the last of it: then `ok` says whether the file
    // was read whole.
    bool take(RtfDocument &into, bool &ok);
    // How far the reading was when the last paragraphs taken were handed
    // over.
    qsizetype bytesTaken() const { return bytesTaken_; }
    qsizetype bytesTotal() const { return bytesTotalTaken_; }

private:
    // With the mutex held.
    bool newsWaiting() const { return closed_ || !pieces_.empty(); }

    mutable std::mutex mutex_;
    mutable std::condition_variable news_;
    struct Piece {
        std::vector<RtfParagraph> paragraphs;
        std::vector<RtfRow> rows;
        qsizetype bytesRead = 0;
    };
    std::deque<Piece> pieces_;
    qsizetype bytesTotal_ = 0;
    bool closed_ = false;
    std::optional<RtfDocument> rest_;
    // The editor's thread alone reads these.
    qsizetype bytesTaken_ = 0;
    qsizetype bytesTotalTaken_ = 0;
};

} // namespace drillpad
