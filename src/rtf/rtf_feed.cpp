#include "rtf/rtf_feed.h"

#include <iterator>
#include <utility>

namespace drillpad {

namespace {

template <typename T> void moveAppend(std::vector<T> &from, std::vector<T> &to) {
    if (to.empty()) {
        to = std::move(from);
    } else {
        to.insert(to.end(), std::make_move_iterator(from.begin()),
                  std::make_move_iterator(from.end()));
    }
    from.clear();
}

} // namespace

void RtfFeed::hand(std::vector<RtfParagraph> &&paragraphs, std::vector<RtfRow> &&rows,
                   qsizetype bytesRead, qsizetype bytesTotal) {
    {
        const std::scoped_lock lock(mutex_);
        pieces_.push_back({std::move(paragraphs), std::move(rows), bytesRead});
        bytesTotal_ = bytesTotal;
    }
    news_.notify_all();
}

void RtfFeed::close(std::optional<RtfDocument> rest) {
    {
        const std::scoped_lock lock(mutex_);
        rest_ = std::move(rest);
        closed_ = true;
    }
    news_.notify_all();
}

bool RtfFeed::hasNews() const {
    const std::scoped_lock lock(mutex_);
    return newsWaiting();
}

bool RtfFeed::hasRichText() const {
    const std::scoped_lock lock(mutex_);
    return !pieces_.empty() || rest_.has_value();
}

void RtfFeed::waitForNews(std::chrono::milliseconds wait) const {
    std::unique_lock lock(mutex_);
    news_.wait_for(lock, wait, [this] { return newsWaiting(); });
}

bool RtfFeed::take(RtfDocument &into, bool &ok) {
    Piece piece;
    std::optional<RtfDocument> rest;
    bool last = false;
    {
        const std::scoped_lock lock(mutex_);
        bytesTotalTaken_ = bytesTotal_;
        if (!pieces_.empty()) {
            piece = std::move(pieces_.front());
            pieces_.pop_front();
            bytesTaken_ = piece.bytesRead;
        } else if (closed_) {
            last = true;
            rest = std::move(rest_);
        }
    }
    moveAppend(piece.paragraphs, into.paragraphs);
    moveAppend(piece.rows, into.rows);
    if (!last)
        return false;
    ok = rest.has_value();
    if (rest) {
        moveAppend(rest->paragraphs, into.paragraphs);
        moveAppend(rest->rows, into.rows);
        into.page = rest->page;
        into.header = std::move(rest->header);
        into.defaultFamily = rest->defaultFamily;
        bytesTaken_ = bytesTotalTaken_;
    }
    return true;
}

} // namespace drillpad
