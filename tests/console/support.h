#pragma once
// Shared by the console's tests: files under the working directory, a started main window, modal helpers.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTabBar>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>

#include "console/control_ids.h"
#include "console/dialog_pw.h"
#include "console/main_dialog.h"
#include "console/page_wait.h"
#include "console/timer_ids.h"
#include "console/vol_limit.h"
#include "controls/graph_wave.h"
#include "link/ui/page_setup.h"
#include "platform/ui/controls.h"
#include "platform/ui/message_box.h"
#include "qt_app.h"
#include "tests/link/bytes.h"

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// ASCII as UTF-16LE, written out here so tests do not use the encoder they check.
inline std::string AsciiUtf16(const std::string& text) {
    std::string out;
    for (char c : text) out += std::string{c, '\0'};
    return out;
}

// A fresh folder under the working directory, removed with everything in it.
struct TempDir {
    explicit TempDir(const std::string& name) : path(std::filesystem::current_path() / name) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() { std::filesystem::remove_all(path); }
    std::string File(const std::string& name) const { return (path / name).string(); }
    const std::filesystem::path path;
};

using Tune = std::function<void(CVelmor_Zem_R7Dlg::Options&)>;

// The main window as the console starts it, without a trace file.
inline std::unique_ptr<CVelmor_Zem_R7Dlg> StartMainWindow(const std::string& config, const Tune& tune = {}) {
    TestApp();
    CVelmor_Zem_R7Dlg::Options options;
    options.configPath = config;
    options.logPath.clear();
    if (tune) tune(options);
    auto dialog = std::make_unique<CVelmor_Zem_R7Dlg>(options);
    dialog->OnInitDialog();
    return dialog;
}

inline QString TextOf(QWidget* parent, int id) {
    if (auto* label = win::FindControlAs<QLabel>(parent, id)) return label->text();
    if (auto* button = win::FindControlAs<QAbstractButton>(parent, id)) return button->text();
    return QStringLiteral("<missing>");
}

// Handles events until done() holds; false if it still does not after limit.
template <class F>
bool PumpUntil(F done, std::chrono::milliseconds limit = std::chrono::seconds(2)) {
    for (const auto end = std::chrono::steady_clock::now() + limit; !done();
         QCoreApplication::processEvents(QEventLoop::AllEvents, 10))
        if (std::chrono::steady_clock::now() > end) return false;
    return true;
}

// A main window started on a config.ini of its own, both gone after the test.
class WindowTest : public testing::Test {
  protected:
    void TearDown() override {
        dialog.reset();
        std::remove(config.c_str());
    }
    // Starts on this config.ini text; null: no file.
    void Start(const char* text = nullptr, const Tune& tune = {}) {
        std::remove(config.c_str());
        if (text) WriteBytes(config, text);
        dialog = StartMainWindow(config, tune);
    }
    template <class T = QWidget>
    T* Control(int id) {
        return win::FindControlAs<T>(dialog->Client(), id);
    }
    QString Text(int id) { return TextOf(dialog->Client(), id); }

    std::string config = "window_test_config.ini";
    std::unique_ptr<CVelmor_Zem_R7Dlg> dialog;
};

// Calls act with the modal dialog of type D as soon as one is up (polled every few ms).
template <class D>
void WhenModal(std::function<void(D*)> act, int triesLeft = 500) {
    QTimer::singleShot(2, [act, triesLeft] {
        if (auto* dialog = dynamic_cast<D*>(QApplication::activeModalWidget()))
            act(dialog);
        else if (triesLeft > 0)
            WhenModal<D>(act, triesLeft - 1);
    });
}
