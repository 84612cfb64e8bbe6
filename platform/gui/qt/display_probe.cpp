#include "platform/gui/qt/display_probe.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <xcb/xcb.h>

namespace cuentas::gui {

// The X library has no time limit of its own: the connection is tried on a thread of its own,
// which a probe that gives up leaves behind. It closes the connection itself if the display
// ever answers, and the process ends without waiting for it.
struct XDisplayProbe::Attempt {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    xcb_connection_t* connection = nullptr;
};

XDisplayProbe::XDisplayProbe(const std::string& name, std::chrono::milliseconds patience)
    : m_attempt(std::make_shared<Attempt>()) {
    std::thread([attempt = m_attempt, name] {
        xcb_connection_t* connection = xcb_connect(name.empty() ? nullptr : name.c_str(), nullptr);
        std::lock_guard lock(attempt->mutex);
        if (attempt->abandoned) {
            xcb_disconnect(connection);
            return;
        }
        attempt->connection = connection;
        attempt->done = true;
        attempt->finished.notify_one();
    }).detach();
    std::unique_lock lock(m_attempt->mutex);
    if (!m_attempt->finished.wait_for(lock, patience, [this] { return m_attempt->done; })) {
        m_attempt->abandoned = true;
        m_outcome = Outcome::Silent;
        return;
    }
    m_outcome =
        xcb_connection_has_error(m_attempt->connection) == 0 ? Outcome::Answers : Outcome::Refuses;
}

XDisplayProbe::~XDisplayProbe() {
    std::lock_guard lock(m_attempt->mutex);
    if (m_attempt->done) {
        xcb_disconnect(m_attempt->connection); // also frees a connection that failed
    }
}

} // namespace cuentas::gui
