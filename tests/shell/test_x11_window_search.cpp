// Finding the running copy's window on an X11 display by its title. Runs under xvfb-run; the
// test plays the window manager: it keeps the client list and receives the activation request.
#include "x11_window_finder.h"

#include <QElapsedTimer>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <vector>
#include <xcb/xcb.h>

using ravelin::WindowSearch;

namespace {

const QString kProduct = QStringLiteral("RAVELIN  (Tervane Utilities)");

class FakeDesktop {
  public:
    FakeDesktop() : c(xcb_connect(nullptr, nullptr)) {
        if (xcb_connection_has_error(c)) return;
        root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
        // Act as the window manager, so activation requests come to this connection.
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT;
        ok = !xcb_request_check(
            c, xcb_change_window_attributes_checked(c, root, XCB_CW_EVENT_MASK, &mask));
    }
    ~FakeDesktop() { xcb_disconnect(c); }

    xcb_atom_t atom(const char *name) {
        auto *reply = xcb_intern_atom_reply(
            c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply->atom;
        std::free(reply);
        return a;
    }

    // A top-level window; utf8 selects _NET_WM_NAME, else the old WM_NAME carries the title.
    xcb_window_t window(const QByteArray &title, bool utf8 = true, xcb_window_t owner = 0) {
        const xcb_window_t w = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, w, root, 0, 0, 50, 50, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (utf8)
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, atom("_NET_WM_NAME"),
                                atom("UTF8_STRING"), 8, uint32_t(title.size()), title.data());
        else
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8,
                                uint32_t(title.size()), title.data());
        if (owner)
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, w, XCB_ATOM_WM_TRANSIENT_FOR,
                                XCB_ATOM_WINDOW, 32, 1, &owner);
        xcb_flush(c);
        return w;
    }

    void setClientList(std::initializer_list<xcb_window_t> windows) {
        std::vector<xcb_window_t> list(windows);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, root, atom("_NET_CLIENT_LIST"),
                            XCB_ATOM_WINDOW, 32, uint32_t(list.size()), list.data());
        xcb_aux_sync();
    }
    void removeClientList() {
        xcb_delete_property(c, root, atom("_NET_CLIENT_LIST"));
        xcb_aux_sync();
    }

    // The window named by the next _NET_ACTIVE_WINDOW request, or 0 when none comes.
    xcb_window_t activationRequest() {
        const xcb_atom_t active = atom("_NET_ACTIVE_WINDOW");
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 2000) {
            xcb_generic_event_t *event = xcb_poll_for_event(c);
            if (!event) {
                QTest::qSleep(5);
                continue;
            }
            xcb_window_t found = 0;
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                auto *message = reinterpret_cast<xcb_client_message_event_t *>(event);
                if (message->type == active) found = message->window;
            }
            std::free(event);
            if (found) return found;
        }
        return 0;
    }
    void drainEvents() {
        while (xcb_generic_event_t *event = xcb_poll_for_event(c))
            std::free(event);
    }

    xcb_connection_t *c;
    xcb_window_t root = 0;
    bool ok = false;

  private:
    void xcb_aux_sync() {
        std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    }
};

} // namespace

class X11WindowSearch : public QObject {
    Q_OBJECT
    FakeDesktop display;

  private slots:
    void initTestCase() {
        if (!display.ok) QSKIP("needs an X display without a window manager (run under xvfb-run)");
    }
    void init() { display.drainEvents(); }

    void withoutAClientListTheCopyIsAskedInstead() {
        display.removeClientList();
        QCOMPARE(ravelin::activateX11Window(kProduct, 10), WindowSearch::NoWindowList);
    }

    void firstOwnerlessWindowWithTheProductTitleIsActivated() {
        const auto editor = display.window("notes.txt - Editor");
        const auto shortTitle = display.window("RAVELIN");
        const auto dialog = display.window(kProduct.toUtf8(), true, editor);
        const auto running = display.window(kProduct.toUtf8() + "    Revision: 1.12 (B0)");
        const auto later = display.window(kProduct.toUtf8());
        display.setClientList({editor, shortTitle, dialog, running, later});
        QCOMPARE(ravelin::activateX11Window(kProduct, 10), WindowSearch::Activated);
        QCOMPARE(display.activationRequest(), running);
    }

    void anotherProgramsWindowWithThatTitleCounts() {
        const auto other = display.window(kProduct.toUtf8() + " - a different program");
        const auto running = display.window(kProduct.toUtf8() + "    Revision: 1.12 (B0)");
        display.setClientList({other, running});
        QCOMPARE(ravelin::activateX11Window(kProduct, 10), WindowSearch::Activated);
        QCOMPARE(display.activationRequest(), other);
    }

    void oldStyleTitleIsRead() {
        const auto running = display.window(kProduct.toLatin1(), false);
        display.setClientList({running});
        QCOMPARE(ravelin::activateX11Window(kProduct, 10), WindowSearch::Activated);
        QCOMPARE(display.activationRequest(), running);
    }

    void onlyTheFirst63CharactersOfATitleCount() {
        // A title start that only fits beyond character 63 is never seen.
        const QByteArray longTitle = QByteArray(40, 'x') + kProduct.toUtf8();
        const auto window = display.window(longTitle);
        display.setClientList({window});
        QCOMPARE(ravelin::activateX11Window(QString(QByteArray(40, 'x')) + kProduct, 10),
                 WindowSearch::NotFound);
        QCOMPARE(ravelin::activateX11Window(QString(QByteArray(40, 'x')) + "RAVELIN", 10),
                 WindowSearch::Activated);
        QCOMPARE(display.activationRequest(), window);
    }

    void noMatchingWindowIsNotFound() {
        const auto editor = display.window("notes.txt - Editor");
        display.setClientList({editor});
        QCOMPARE(ravelin::activateX11Window(kProduct, 10), WindowSearch::NotFound);
        QCOMPARE(display.activationRequest(), xcb_window_t(0));
    }
};

QTEST_APPLESS_MAIN(X11WindowSearch)
#include "test_x11_window_search.moc"
