// The object dialogs over the application's editing state: the registry of
// the kinds' dialogs is the editing core's dialog host, and the dialogs reach
// the working copies, the nesting path, the commit and the redraw here.
#pragma once

#include <functional>
#include <memory>

#include "dialogs/dialog_host.h"
#include "dialogs/ui/dialog_registry.h"

namespace pelmar {

struct EditingState;
class WordTable;

class EditingDialogSession : public DialogSession, public DialogCommit, private MessageSink {
public:
    struct Setup {
        std::function<const WordTable&()> words;  // the current language
        std::function<QWidget*()> parent;          // over which modal windows open
        std::function<void()> opened;              // an object dialog opens
        std::function<QImage()> picture;           // the picture as the picture window shows it
    };
    EditingDialogSession(EditingState& st, Setup setup);
    ~EditingDialogSession() override;

    // The editing core's dialog host.
    DialogRegistry& registry() { return reg_; }
    // The colour dialog of the fill sub-dialog (the standard one unless set).
    void setColorChooser(ColorChooser* colors) { colors_ = colors; }

    // DialogSession
    WorkingCopies& copies() override;
    void tryCommit(bool writeBack) override;
    KindMask trialKinds() const override;
    DProj& proj() override;
    ObjListEntry entry() const override;
    void setBackTo(Kind parent, bool enabled) override;
    std::string pathCaption(Kind k) const override;
    std::string defaultSetName(Kind k) const override;
    std::uint8_t readDefaultSet(Kind k, DProj& doc, std::uint8_t& version) const override;
    void showMessage(const std::string& text) override;
    std::string readFailureText(std::uint8_t result) const override;
    void runFill(std::uint8_t brushKind, QWidget* parent) override;
    const WordTable& words() const override;
    void dialogOpened(Kind k) override;
    void dialogClosed(Kind k) override;
    void reselect() override;
    int rememberedPage(Kind k) const override;
    void rememberPage(Kind k, int page) override;
    SurfaceDialogContext surfaceDialogs() override;

    // DialogCommit
    void ApplyObject(bool writeBack) override;
    void ApplyObjectInStep(bool writeBack, std::uint64_t& step) override;
    std::uint64_t BeforeDocumentChange() override;
    void RepaintProject() override;
    bool NoRedraw() const override;

private:
    EditingState& st_;
    Setup setup_;
    ProjDialogDocument place_;
    std::unique_ptr<ColorChooser> ownColors_;
    ColorChooser* colors_;
    DialogRegistry reg_;
};

}  // namespace pelmar
