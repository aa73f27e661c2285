#pragma once

#include "rtf/rtf_document.h"

#include <QByteArray>

#include <functional>
#include <memory>
#include <stop_token>
#include <vector>

class QPagedPaintDevice;
class QPainter;

namespace drillpad {

// A document laid out on its pages the way LibreOffice lays out the same
// RTF: the paper and margins of its page setup (the sheet's A4 where the
// setup is unusable); the header at `headerTop` on every page and the body
// from the top margin or, where the header reaches further, right below
// it; every line at least as tall as its paragraph's line height; a page
// break where a paragraph asks for one; and a paragraph that does not fit
// in what is left of a page moved whole to the next, unless no page would
// hold it. Coordinates are twips. Needs no window: it may be made and
// painted on any thread, the same for both.
// Asked now and then whether to go on; told how far the work is, of how
// much.
using PageProgress = std::function<bool(int done, int total)>;

class PageLayout {
public:
    // Lays the pages out; `progress`, asked between stretches of the body,
    // may stop it, and the layout is then incomplete.
    explicit PageLayout(const RtfDocument &document, const PageProgress &progress = {});
    ~PageLayout();
    PageLayout(const PageLayout &) = delete;
    PageLayout &operator=(const PageLayout &) = delete;

    bool complete() const;
    int pageCount() const;
    const RtfPage &pageSetup() const;
    // Where the body begins on each page, and how tall it is.
    double bodyTop() const;
    double bodyHeight() const;
    // The page each block of the body starts on, from 0.
    std::vector<int> pageOfBlocks() const;

    // Paints one page, from 0, with the painter's coordinates in twips from
    // the paper's top left corner.
    void paintPage(QPainter &painter, int page) const;

private:
    class Private;
    std::unique_ptr<Private> d;
};

// Prints the pages from `first` to `last` (from 1, as print dialogs count;
// 0 for all) on a printer or a PDF writer, each on the document's paper,
// shrunk where the device's paper is smaller. False when `progress` or
// `stop` ended it early or the device failed.
bool printPages(const PageLayout &layout, QPagedPaintDevice &device, int first = 0, int last = 0,
                const PageProgress &progress = {}, std::stop_token stop = {});

// The document as a PDF file's bytes, titled `title`; empty when `stop`
// ended the work or the PDF could not be written.
QByteArray pdfOf(const RtfDocument &document, const QString &title, std::stop_token stop = {});

} // namespace drillpad
