#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <memory>
#include <tuple>
#include <vector>

#include "pages/page.h"
#include "platform/ui/window.h"

inline QApplication& TestApp() {
    static int argc = 1;
    static char* argv[] = {const_cast<char*>("pages_tests"), nullptr};
    static QApplication* app = new QApplication(argc, argv);  // never destroyed: Qt's exit order
    return *app;
}

using Notice = std::tuple<unsigned, win::WPARAM, win::LPARAM>;  // message, wParam, lParam
using Notices = std::vector<Notice>;

class NoticeRecorder : public QWidget, public win::MessageSink {
  public:
    NoticeRecorder() { setFocusPolicy(Qt::StrongFocus); }
    win::LRESULT OnMessage(unsigned msg, win::WPARAM w, win::LPARAM l, QWidget*) override {
        notices.push_back({msg, w, l});
        return 0;
    }
    Notices notices;
    std::vector<int> keys;

  protected:
    void keyPressEvent(QKeyEvent* e) override { keys.push_back(e->key()); }
};

class TestPage : public Page {
  public:
    struct SliderSpec {
        int id, min, max, pos;
    };
    TestPage(int n, std::vector<int> peakingFreqs, std::vector<SliderSpec> sliders = {},
             std::vector<int> labels = {}, QWidget* parent = nullptr)
        : Page(n, 0, parent), sliders_(std::move(sliders)), labels_(std::move(labels)) {
        model_.sectionName = "[test eq]";
        for (std::size_t k = 0; k < peakingFreqs.size(); ++k) model_.defaultFreq[k + 1] = peakingFreqs[k];
        hpTitle = {"高通滤波：", "High pass:", "HP th", "HP vi", "HP id"};
        lpTitle = {"低通滤波：", "Low pass:", "LP th", "LP vi", "LP id"};
    }
    int resetsWithFlag = 0;
    void ResetAll(bool alsoOwnControls) override {
        Page::ResetAll(alsoOwnControls);
        resetsWithFlag += alsoOwnControls;
    }

  protected:
    void BuildTemplate() override {
        int y = 400;
        for (const auto& s : sliders_)
            AddSlider(s.id, Qt::Horizontal, QRect(0, y += 20, 200, 18), s.min, s.max, s.pos);
        for (int id : labels_) AddLabel(id, QRect(220, y += 20, 200, 18));
    }

  private:
    std::vector<SliderSpec> sliders_;
    std::vector<int> labels_;
};

struct PageHarness {
    explicit PageHarness(int n, std::vector<int> freqs = {100, 1000, 10000},
                         std::vector<TestPage::SliderSpec> sliders = {}, std::vector<int> labels = {}) {
        TestApp();
        parent = std::make_unique<NoticeRecorder>();
        parent->resize(1200, 700);
        page = new TestPage(n, std::move(freqs), std::move(sliders), std::move(labels), parent.get());
        page->setGeometry(0, 0, 1200, 700);
        page->Init();
        parent->show();
        QApplication::setActiveWindow(parent.get());
        parent->setFocus();
        QApplication::processEvents();
        parent->notices.clear();
    }
    Notices Take() { return std::exchange(parent->notices, {}); }
    std::unique_ptr<NoticeRecorder> parent;
    TestPage* page;
};

inline std::vector<int> DefaultFreqs(int n) {
    std::vector<int> f;
    for (int b = 1; b < n - 1; ++b) f.push_back(100 * b);
    return f;
}
