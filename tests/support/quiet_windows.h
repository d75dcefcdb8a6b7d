// The windows that answer the editing core, answering nothing: for tests and
// benchmarks that run the core without windows.  Dialogs never open, every
// question is closed with Esc and messages go unseen.
#pragma once

#include "editing/editing_state.h"

namespace pelmar {

struct QuietWindows final : DialogHost, QuestionBox, MessageBox {
    explicit QuietWindows(EditingState& st) {
        st.DialogWindows = this;
        st.Questions = this;
        st.Messages = this;
    }
    void Show(Kind) override {}
    void Close(Kind) override {}
    std::string ActiveControl(Kind) const override { return {}; }
    void SelectPage(Kind, int) override {}
    void Activate(Kind, const std::string&) override {}
    QuestionAnswer AskDelete(const DeleteQuestion&) override { return {}; }
    QuestionAnswer AskCopy(const CopyQuestion&) override { return {}; }
    void ShowMessage(const std::string&) override {}
};

}  // namespace pelmar
