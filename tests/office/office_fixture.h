// Fakes and helpers of the office export tests.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "drawing/paint_fixture.h"
#include "drawing/redraw.h"
#include "office/ui/desktop.h"
#include "office/office_export.h"
#include "files/word_table.h"

namespace pelmar::test {

// Answers the modal dialog that comes up next with `answer`.
inline void WhenModal(std::function<void(QDialog&)> answer) {
    QTimer::singleShot(0, [answer] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(d);
        answer(*d);
    });
}

class FakeUi : public ExportUi {
public:
    std::string wordLine(int line) override {
        const char* w = BuiltInWord(line);
        return w ? w : "";
    }
    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        return answer;
    }
    void setStatus(const std::string& text) override { statuses.push_back(text); }
    void setProgress(int d, int t) override {
        if (d == 1) done = 0;  // a new run
        EXPECT_EQ(d, done + 1);
        done = d;
        total = t;
    }

    bool answer = true;
    int done = 0, total = 0;
    std::vector<std::string> questions, statuses;
};

class FakeDesktop : public DesktopOpener {
public:
    bool hasProgramFor(const std::string& mimeType) override {
        asked.push_back(mimeType);
        return installed;
    }
    std::string open(const std::string& path) override {
        opened.push_back(path);
        return openError;
    }

    bool installed = true;
    std::string openError;
    std::vector<std::string> asked, opened;
};

class FakeMessages : public OfficeMessages {
public:
    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        return answer;
    }
    void showError(const std::string& text) override { errors.push_back(text); }
    void showNotice(const std::string& text) override { notices.push_back(text); }

    bool answer = true;
    std::vector<std::string> questions, errors, notices;
};

// An export run over `proj` with fakes, writing below a temporary folder.
struct RunRig {
    QTemporaryDir dir;
    std::unique_ptr<DProj> snapshot = NewDocument();
    PainterTable painters = DefaultPainters();
    FakeUi ui;
    FakeDesktop desktop;
    OfficeRun run;

    explicit RunRig(const DProj& proj) {
        run.proj = &proj;
        run.snapshot = snapshot.get();
        run.painters = &painters;
        run.ui = &ui;
        run.desktop = &desktop;
        run.tempDir = path("Temp/");
    }
    std::string path(const std::string& name) const { return dir.path().toStdString() + "/" + name; }

    // Calls whose line starts with `prefix`.
    std::vector<std::string> calls(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& c : run.calls)
            if (c.rfind(prefix, 0) == 0) out.push_back(c);
        return out;
    }
    bool has(const std::string& call) const {
        return std::find(run.calls.begin(), run.calls.end(), call) != run.calls.end();
    }
};

}  // namespace pelmar::test
