// Saving and loading the largest sheet the wizard writes: five sections of
// 32767 questions each. Opening and showing it is measured beside a bare
// QTextEdit::setPlainText of the same text, and files that once froze the
// editor (many paragraphs, many format changes) are opened or refused. On an
// X display, files are opened in the main window as the user does, and the
// longest time the window took to answer an X ping meanwhile is measured.
#include "app/forms_registry.h"
#include "bench_main.h"
#include "common/fakes.h"
#include "controls/fonts.h"
#include "controls/rich_text_box.h"
#include "guide/sheet_writer.h"
#include "mainwin/frm_main.h"
#include "mainwin/sheet_file.h"
#include "rtf/document_decoding.h"
#include "rtf/rtf_document.h"
#include "rtf/rtf_reader.h"
#include "rtf/rtf_writer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include <benchmark/benchmark.h>
#include <xcb/xcb.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <thread>

using namespace drillpad;

namespace {

QString largestSheet() {
    SheetSettings settings;
    for (QuestionType type : {QuestionType::Add, QuestionType::Minus, QuestionType::Mul,
                              QuestionType::Devition, QuestionType::Mix})
        settings[type] = TypeSettings{true, 0, 32767, 32767};
    return makeSheetText(settings);
}

// The sheet as a user leaves it: the text in the editor, the headings bold.
RichTextBox &sheetEditor() {
    static RichTextBox *editor = [] {
        auto *e = new RichTextBox;
        e->setText(largestSheet());
        for (QTextBlock block = e->document()->begin(); block.isValid(); block = block.next()) {
            if (block.text().endsWith(u':')) {
                QTextCursor cursor(block);
                cursor.select(QTextCursor::BlockUnderCursor);
                QTextCharFormat bold;
                bold.setFontWeight(QFont::Bold);
                cursor.mergeCharFormat(bold);
            }
        }
        return e;
    }();
    return *editor;
}

QTemporaryDir &folder() {
    static QTemporaryDir dir;
    return dir;
}

QString sheetPath() {
    return folder().filePath(QStringLiteral("sheet.rtf"));
}

void BM_SaveLargestSheet(benchmark::State &state) {
    const RichTextBox &editor = sheetEditor();
    for (auto _ : state) {
        const FileStatus status = editor.saveFile(sheetPath());
        if (!status.ok())
            state.SkipWithError(qPrintable(status.error));
    }
    state.SetBytesProcessed(state.iterations() * editor.rtf().size());
}
BENCHMARK(BM_SaveLargestSheet)->Unit(benchmark::kMillisecond);

void BM_WriteRtfOnly(benchmark::State &state) {
    const RtfDocument document = rtfFromTextDocument(*sheetEditor().document());
    for (auto _ : state)
        benchmark::DoNotOptimize(writeRtf(document));
}
BENCHMARK(BM_WriteRtfOnly)->Unit(benchmark::kMillisecond);

void BM_LoadLargestSheet(benchmark::State &state) {
    if (!sheetEditor().saveFile(sheetPath()).ok())
        state.SkipWithError("could not write the sheet");
    RichTextBox editor;
    for (auto _ : state) {
        const FileStatus status = editor.loadFile(sheetPath());
        if (!status.ok())
            state.SkipWithError(qPrintable(status.error));
    }
}
BENCHMARK(BM_LoadLargestSheet)->Unit(benchmark::kMillisecond);

// What a user waits for: the file read, the editor filled and its first
// screen painted.
void showEditor(QTextEdit &editor) {
    editor.resize(800, 600);
    editor.show();
    editor.viewport()->repaint();
}

void BM_OpenAndShowLargestSheet(benchmark::State &state) {
    if (!sheetEditor().saveFile(sheetPath()).ok())
        state.SkipWithError("could not write the sheet");
    for (auto _ : state) {
        RichTextBox editor;
        const FileStatus status = editor.loadFile(sheetPath());
        if (!status.ok())
            state.SkipWithError(qPrintable(status.error));
        showEditor(editor);
    }
}
BENCHMARK(BM_OpenAndShowLargestSheet)->Unit(benchmark::kMillisecond);

// The yardstick: bare Qt showing the same text.
void BM_BareSetPlainText(benchmark::State &state) {
    const QString text = sheetEditor().text();
    for (auto _ : state) {
        QTextEdit editor;
        editor.setPlainText(text);
        showEditor(editor);
    }
}
BENCHMARK(BM_BareSetPlainText)->Unit(benchmark::kMillisecond);

// Files up to the size limit that once took minutes and gigabytes, and
// files as large as are opened at all.
QByteArray pathological(int kind, qsizetype bytes) {
    const QByteArray line(240, 'x');
    const QByteArray pieces[] = {"\\par ", "{\\b a}{\\i b}", "{\\f1 x}{\\f2 y}\\par\n", "x\\tab ",
                                 "",       line + '\n',      line + "\\par\n"};
    QByteArray data = kind == 5 ? "" : "{\\rtf1\\ansi ";
    if (kind == 3) {
        data += "{\\fonttbl";
        while (data.size() < bytes)
            data += "{\\f" + QByteArray::number(data.size()) + " Arial;}";
        data += "}";
    }
    QByteArray piece = pieces[kind];
    if (kind == 4) {
        for (std::size_t run = 0; run + 2 < kMaxRunsPerParagraph; run += 2)
            piece += "{\\b a}{\\i b}";
        piece += "\\par\n";
    }
    data.reserve(bytes + piece.size());
    while (data.size() + piece.size() < bytes)
        data += piece;
    return kind == 5 ? data : data + "}";
}

void BM_OpenPathological(benchmark::State &state) {
    const QByteArray data = pathological(static_cast<int>(state.range(0)), state.range(1) * 1024);
    const QString path = folder().filePath(QStringLiteral("odd.rtf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
        state.SkipWithError("could not write the file");
    file.close();
    for (auto _ : state) {
        RichTextBox editor;
        const FileContents contents = readWholeFile(path, kMaxDocumentFileBytes);
        const DecodedDocument decoded = decodeDocument(contents.data);
        if (decoded.rtf)
            editor.setRtfDocument(*decoded.rtf);
        else if (decoded.ok())
            editor.setText(decoded.text);
        showEditor(editor);
        state.counters["refused"] = decoded.ok() ? 0 : 1;
        state.counters["paragraphs"] = editor.document()->blockCount();
    }
}
// Kinds: 0 empty paragraphs, 1 format changes in one paragraph, 2 short
// paragraphs of two runs, 3 a font table of tiny entries, 4 paragraphs of
// as many format changes as a paragraph may have, 5 plain text and 6 RTF of
// long lines; sizes in KB, from just below the limits to the largest file
// opened.
BENCHMARK(BM_OpenPathological)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {29, 1400, 5000, 65000}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

// Pings a window the way window managers tell a hung program: an X client
// of its own sends _NET_WM_PING and waits for the window's answer, again and
// again, and keeps the longest wait.
class XPinger {
public:
    explicit XPinger(xcb_window_t window) : window_(window) {
        int screenNumber = 0;
        connection_ = xcb_connect(nullptr, &screenNumber);
        if (xcb_connection_has_error(connection_))
            return;
        xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
        for (int i = 0; i < screenNumber; ++i)
            xcb_screen_next(&screens);
        root_ = screens.data->root;
        protocols_ = atom("WM_PROTOCOLS");
        ping_ = atom("_NET_WM_PING");
        // The answer goes to the root window, for whoever listens there.
        const std::uint32_t mask =
            XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection_);
        thread_ = std::jthread([this](std::stop_token stop) { run(stop); });
    }
    ~XPinger() {
        thread_ = {};
        xcb_disconnect(connection_);
    }
    bool ok() const { return thread_.joinable(); }
    double longestMilliseconds() const { return longest_.load() / 1000.0; }
    int answered() const { return answered_.load(); }

private:
    xcb_atom_t atom(const char *name) {
        xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, std::strlen(name), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return result;
    }

    void run(std::stop_token stop) {
        using Clock = std::chrono::steady_clock;
        for (std::uint32_t serial = 1; !stop.stop_requested(); ++serial) {
            xcb_client_message_event_t event{};
            event.response_type = XCB_CLIENT_MESSAGE;
            event.format = 32;
            event.window = window_;
            event.type = protocols_;
            event.data.data32[0] = ping_;
            event.data.data32[1] = serial;
            event.data.data32[2] = window_;
            const Clock::time_point sent = Clock::now();
            xcb_send_event(connection_, 0, window_, XCB_EVENT_MASK_NO_EVENT,
                           reinterpret_cast<const char *>(&event));
            xcb_flush(connection_);
            bool answered = false;
            while (!answered && !stop.stop_requested()) {
                const auto waited =
                    std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - sent);
                longest_ = std::max<long long>(longest_.load(), waited.count());
                pollfd fd{xcb_get_file_descriptor(connection_), POLLIN, 0};
                ::poll(&fd, 1, 5);
                while (xcb_generic_event_t *reply = xcb_poll_for_event(connection_)) {
                    const auto *message = reinterpret_cast<xcb_client_message_event_t *>(reply);
                    answered |= (reply->response_type & 0x7f) == XCB_CLIENT_MESSAGE &&
                                message->data.data32[0] == ping_ &&
                                message->data.data32[1] == serial;
                    std::free(reply);
                }
            }
            if (answered)
                ++answered_;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    xcb_connection_t *connection_ = nullptr;
    xcb_window_t window_;
    xcb_window_t root_ = 0;
    xcb_atom_t protocols_ = 0;
    xcb_atom_t ping_ = 0;
    std::atomic<long long> longest_ = 0; // microseconds
    std::atomic<int> answered_ = 0;
    std::jthread thread_;
};

// Files of the kinds that once froze the program, and the largest sheet.
QByteArray fileToOpen(int kind) {
    const QByteArray chineseLine =
        QStringLiteral("小明有36个苹果，分给4个小朋友，每人分到几个？\n").toUtf8();
    switch (kind) {
    case 0: // the largest sheet the wizard writes, as saved
        return sheetEditor().rtf();
    case 1: // one unbroken line of 0.3 MB, as text and as RTF
        return QByteArray(300 * 1024, 'x');
    case 2:
        return "{\\rtf1 " + QByteArray(300 * 1024, 'x') + "}";
    case 3:
        return QByteArray(900 * 1024, 'x');
    case 4: // 60 MB of Chinese text, in UTF-8 and in GB18030
        return chineseLine.repeated(60 * 1024 * 1024 / chineseLine.size());
    case 5:
        return QByteArray(QStringEncoder("GB18030").encode(QString::fromUtf8(chineseLine)))
            .repeated(60 * 1024 * 1024 / chineseLine.size());
    case 6: // 58 MB of RTF in 239000 paragraphs
        return "{\\rtf1\\ansi " +
               (QByteArray("\\u20056\\'3f").repeated(20) + QByteArray(45, 'x') + "\\par\n")
                   .repeated(239'000) +
               "}";
    case 7: // a font table of 59 MB
        return pathological(3, 59 * 1024 * 1024);
    case 10: // one paragraph too many, found once the rest went into the editor
        return "{\\rtf1\\deff0{\\fonttbl{\\f0 ;}}" +
               QByteArray("12345+54321=\\u12288\\'3f\\par\n").repeated(kMaxParagraphs + 1) + "}";
    case 8: // the most text taken: 99000 lines of 80 characters
        return QString(80, QChar(u'题')).append(u'\n').repeated(99'000).toUtf8();
    default: // the most format changes taken, as many in each paragraph as it may have
        return "{\\rtf1 " +
               (QByteArray("{\\b a}{\\i b}").repeated(kMaxRunsPerParagraph / 2) + "\\par\n")
                   .repeated(kMaxRuns / kMaxRunsPerParagraph) +
               "}";
    }
}

// Opens a file in the main window as the user does, while an X client pings
// the window; the longest wait for an answer counts, including a second of
// what the window does once the file is in.
void BM_OpenInWindow(benchmark::State &state) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        state.SkipWithError("needs an X display (QT_QPA_PLATFORM=xcb)");
        return;
    }
    const QString path = folder().filePath(QStringLiteral("open.rtf"));
    {
        const QByteArray data = fileToOpen(static_cast<int>(state.range(0)));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size())
            state.SkipWithError("could not write the file");
    }
    testing::ScriptedFileDialogs dialogs;
    testing::RecordingMessageBoxes messages;
    ScopedSeam<FileDialogs> dialogSeam(dialogs);
    ScopedSeam<MessageBoxes> messageSeam(messages);
    FrmMain &window = frmMain();
    window.show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        window.txtMain()->setText(QString());
        window.txtMain()->document()->setModified(false);
        dialogs.answers << FileChoice{path, 0};
        XPinger pinger(static_cast<xcb_window_t>(window.winId()));
        if (!pinger.ok()) {
            state.SkipWithError("cannot reach the X display");
            break;
        }
        QElapsedTimer clock;
        clock.start();
        openSheet(window);
        state.counters["open_ms"] = double(clock.elapsed());
        QEventLoop settle;
        QTimer::singleShot(1000, &settle, &QEventLoop::quit);
        settle.exec();
        state.counters["longest_unanswered_ms"] = pinger.longestMilliseconds();
        state.counters["pings"] = pinger.answered();
        state.counters["refused"] = messages.messages.size();
        messages.messages.clear();
    }
}
// Kinds: 0 the largest sheet, 1 and 2 a line of 0.3 MB as text and RTF, 3 of
// 0.9 MB, 4 and 5 60 MB of Chinese text in UTF-8 and GB18030, 6 58 MB of RTF
// in 239000 paragraphs, 7 a 59 MB font table, 8 and 9 the most text and the
// most format changes a file may have, 10 one paragraph too many.
BENCHMARK(BM_OpenInWindow)->DenseRange(0, 10)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ParseRtfOnly(benchmark::State &state) {
    const QByteArray rtf = sheetEditor().rtf();
    for (auto _ : state)
        benchmark::DoNotOptimize(parseRtf(rtf));
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_ParseRtfOnly)->Unit(benchmark::kMillisecond);

} // namespace

DRILLPAD_BENCHMARK_MAIN()
