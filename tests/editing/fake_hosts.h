// Test doubles of the windows the editing core talks to, and a fixture that
// wires them to an editing state over a fresh document in a temporary
// program folder.
#pragma once

#include <unistd.h>

#include <array>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editing/edited_document.h"
#include "editing/editing_host.h"
#include "editing/editing_state.h"
#include "editing/kind_access.h"

namespace pelmar::test {

// Follows the document's command signals.
class FakeCommands {
public:
    std::map<std::pair<EditingCommand, int>, bool> enabled;
    std::map<EditingCommand, bool> down;
    int transEnabled = 0, drawToolRefreshes = 0;

    void SetEnabled(EditingCommand c, bool on) { enabled[{c, 0}] = on; }
    void SetKindEnabled(EditingCommand c, Kind k, bool on) { enabled[{c, KindNumber(k)}] = on; }
    bool IsDown(EditingCommand c) const {
        auto it = down.find(c);
        return it != down.end() && it->second;
    }
    void SetDown(EditingCommand c, bool d) { down[c] = d; }
    void Follow(EditedDocument& doc) {
        QObject::connect(&doc, &EditedDocument::commandEnabled, [this](EditingCommand c, bool on) { SetEnabled(c, on); });
        QObject::connect(&doc, &EditedDocument::kindCommandEnabled,
                         [this](EditingCommand c, Kind k, bool on) { SetKindEnabled(c, k, on); });
        QObject::connect(&doc, &EditedDocument::commandDown, [this](EditingCommand c, bool d) { SetDown(c, d); });
        QObject::connect(&doc, &EditedDocument::toolLeft, [this](EditingCommand tool, EditingCommand instead) {
            if (!IsDown(tool)) return;
            SetDown(tool, false);
            SetDown(instead, true);
        });
        QObject::connect(&doc, &EditedDocument::transformsEnabled, [this](bool) { ++transEnabled; });
        QObject::connect(&doc, &EditedDocument::drawToolsRefresh, [this] { ++drawToolRefreshes; });
    }

    // -1 never set, else 0/1.
    int On(EditingCommand c, Kind k) const { return Get(c, KindNumber(k)); }
    int On(EditingCommand c) const { return Get(c, 0); }

private:
    int Get(EditingCommand c, int k) const {
        auto it = enabled.find({c, k});
        return it == enabled.end() ? -1 : it->second;
    }
};

class FakeDialogs : public DialogHost {
public:
    std::vector<std::string> log;          // "show po", "close tr", "fill li:<ID>"
    std::map<int, std::string> active;     // active control per kind number
    std::map<int, int> page;               // selected page per kind number
    std::map<int, std::string> activated;  // control made active per kind number

    void Show(Kind k) override { log.push_back(std::string("show ") + InfoOf(k).code); }
    void Close(Kind k) override { log.push_back(std::string("close ") + InfoOf(k).code); }
    std::string ActiveControl(Kind k) const override {
        auto it = active.find(KindNumber(k));
        return it == active.end() ? std::string() : it->second;
    }
    void SelectPage(Kind k, int p) override { page[KindNumber(k)] = p; }
    void Activate(Kind k, const std::string& name) override { activated[KindNumber(k)] = name; }

    // The last record filled into a kind's dialog ("" none).
    std::string LastFill() const {
        for (auto it = log.rbegin(); it != log.rend(); ++it)
            if (it->rfind("fill ", 0) == 0) return it->substr(5);
        return {};
    }

    // The document's objectChanged: the kind's dialog shows its working copy.
    void Filled(Kind k, const WorkingCopies& w) {
        VisitKind(k, [&](auto kc) {
            log.push_back(std::string("fill ") + InfoOf(k).code + ":" + KindT<kc.value>::work(w).ID.s);
        });
    }
};

class FakeQuestions : public QuestionBox {
public:
    std::deque<QuestionAnswer> answers;  // taken in order; none left = closed with Esc
    std::vector<DeleteQuestion> deleteAsked;
    std::vector<CopyQuestion> copyAsked;

    QuestionAnswer AskDelete(const DeleteQuestion& q) override {
        deleteAsked.push_back(q);
        return Next();
    }
    QuestionAnswer AskCopy(const CopyQuestion& q) override {
        copyAsked.push_back(q);
        return Next();
    }

private:
    QuestionAnswer Next() {
        if (answers.empty()) return {};
        QuestionAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
};

class FakeMessages : public MessageBox {
public:
    std::vector<std::string> shown;
    void ShowMessage(const std::string& text) override { shown.push_back(text); }
};

struct FakeListView {
    std::vector<std::string> items;
    int index = -1;
    int resets = 0;
    ViewReset lastReset;
    void ResetView(const ViewReset& v) {
        ++resets;
        lastReset = v;
    }
};

// Counts the document's redrawNeeded.
struct FakeRedraw {
    int count = 0;
};

// A fresh folder under the system's temporary folder, removed at the end.
struct ScratchDir {
    std::filesystem::path path;
    ScratchDir() {
        static int n = 0;
        path = std::filesystem::temp_directory_path() /
               ("pelmar_editing_" + std::to_string(::getpid()) + "_" + std::to_string(++n));
        std::filesystem::create_directories(path);
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::string folder() const { return path.string() + "/"; }
};

// An editing state over an empty document, with every window faked and its
// program folder and undo folder in a scratch folder.
struct Editing {
    ScratchDir dir;
    std::unique_ptr<DProj> doc = NewDocument();
    std::unique_ptr<EditedDocument> edited = std::make_unique<EditedDocument>(*doc);
    EditingState* st = &edited->state();
    FakeCommands commands;
    FakeDialogs dialogs;
    FakeQuestions questions;
    FakeMessages messages;
    FakeListView list;
    FakeRedraw redraw;

    explicit Editing(const std::string& instance = "1") {
        commands.Follow(*edited);
        st->DialogWindows = &dialogs;
        st->Questions = &questions;
        st->Messages = &messages;
        QObject::connect(edited.get(), &EditedDocument::objectListChanged,
                         [this](const std::vector<std::string>& items) { list.items = items; });
        QObject::connect(edited.get(), &EditedDocument::currentObjectChanged, [this](int i) { list.index = i; });
        QObject::connect(edited.get(), &EditedDocument::viewReset, [this](const ViewReset& v) { list.ResetView(v); });
        // The windows' side of the document's signals.
        QObject::connect(edited.get(), &EditedDocument::redrawNeeded, [this] { ++redraw.count; });
        QObject::connect(edited.get(), &EditedDocument::objectChanged,
                         [this](Kind k) { dialogs.Filled(k, st->Copies); });
        QObject::connect(edited.get(), &EditedDocument::modifiedChanged,
                         [this](bool on) { commands.SetEnabled(EditingCommand::Save, on); });
        QObject::connect(edited.get(), &EditedDocument::undoStateChanged, [this](bool undo, bool redo) {
            commands.SetEnabled(EditingCommand::Undo, undo);
            commands.SetEnabled(EditingCommand::Redo, redo);
        });
        st->ProgDir = dir.folder();
        st->UndoFolder = dir.folder() + "Temp/" + instance + "/";
        st->Defaults.programFolder = dir.folder();
        st->UndoSteps = 200;
    }
    EditingState& operator*() { return *st; }
    EditingState* operator->() { return st; }
};

}  // namespace pelmar::test
