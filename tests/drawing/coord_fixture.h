// Coordinate systems and a recording graph host for the painter and graph tests.
#pragma once

#include <string>
#include <vector>

#include "drawing/graph_run.h"
#include "paint_fixture.h"

namespace pelmar::test {

// A 2D system on a 400 x 300 picture, centre (200, 150) on the picture; the
// X axis from x = 20 to 380, the Y axis from y = 280 (end 1) up to 20, both
// with a 10 pixel arrow at end 2; 20 pixels per unit, one unit per tick.
inline DXOY MakeXOY(int height = 300) {
    DXOY x;
    x.Layer.v = 1;
    x.Thick.v = 1;
    x.Color.v = Black;
    x.Center = MakePoint(200, height - 150, 2, 3, Black);
    x.AxisX = MakeLine(20, height - 150, 380, height - 150);
    x.AxisY = MakeLine(200, height - 280, 200, height - 20);
    for (DLine* a : {&x.AxisX, &x.AxisY}) {
        a->Arrow2.v = true;
        a->Arrow2Len.v = 10;
        a->Arrow2Angle.v = 15;
    }
    x.ScaleX.v = x.ScaleY.v = 20;
    x.DivX.v = x.DivY.v = 1;
    x.MarkWidth.v = 1;
    x.MarkHeight.v = 10;
    x.GridThick.v = 1;
    x.GridStep.v = 1;
    x.NumberStep.v = 1;
    x.NumberFont.s = "Arial";
    x.NumberSize.v = 10;
    for (std::size_t i = 1; i <= 6; ++i) {
        x.GraphThick[i].v = 2;
        x.GraphColor[i].v = Blue;
        x.Style[i].Visible.v = 1;
        x.Style[i].Hidden.v = 1;
        x.Move[i].NZ.v = 1;
    }
    for (std::size_t b = 1; b <= 3; ++b) {
        x.Bounds[b][0].v = -4;
        x.Bounds[b][1].v = 4;
        x.Bounds[b][2].v = -3;
        x.Bounds[b][3].v = 3;
    }
    for (std::size_t p = 1; p <= 2; ++p) {
        x.Polar[p][0].v = 0;
        x.Polar[p][1].v = 6.3;
        x.Polar[p][2].v = 0.05;
    }
    x.ParA.v = 0;
    x.ParB.v = 6.3;
    x.ParH.v = 0.05;
    return x;
}

// A 3D system on a 400 x 300 picture, centre (200, 150): the depth axis from
// the upper right (260, 90) to the lower left (140, 210), Y from x = 20 to
// 380, Z from y = 280 up to 20; arrows of 10 at end 2; 20 pixels per unit.
inline DXZ MakeXYZ(int height = 300) {
    DXZ x;
    x.Layer.v = 1;
    x.Thick.v = 1;
    x.Color.v = Black;
    x.Center = MakePoint(200, height - 150, 2, 3, Black);
    x.AxisX = MakeLine(260, height - 90, 140, height - 210);
    x.AxisY = MakeLine(20, height - 150, 380, height - 150);
    x.AxisZ = MakeLine(200, height - 280, 200, height - 20);
    for (DLine* a : {&x.AxisX, &x.AxisY, &x.AxisZ}) {
        a->Arrow2.v = true;
        a->Arrow2Len.v = 10;
        a->Arrow2Angle.v = 15;
    }
    x.Scale.v = 20;
    x.Div.v = 1;
    x.MarkWidth.v = 1;
    x.MarkHeight.v = 10;
    x.NumberStep.v = 1;
    x.NumberFont.s = "Arial";
    x.NumberSize.v = 10;
    for (std::size_t i = 1; i <= 4; ++i) {
        x.SurfThick[i].v = 2;
        x.SurfColor[i].v = Blue;
        x.Style[i].Visible.v = 1;
        x.Style[i].Hidden.v = 1;
        x.Move[i].NZ.v = 1;
    }
    x.ParT1.v = 0;
    x.ParT2.v = 6.3;
    x.ParH.v = 0.05;
    return x;
}

// Writes what the graph drawers ask of the windows, each progress call with
// the word of the target whose window shows it.
class RecordingGraphHost final : public GraphHost, public TextRole {
public:
    std::vector<std::string> log;

    TextRole& texts() override { return *this; }
    ProgressRole* progressFor(TargetKind target) override {
        switch (target) {
            case TargetKind::Pel:
                return &pel_;
            case TargetKind::Cdr:
                return &cdr_;
            case TargetKind::Wrd:
                return &wrd_;
            case TargetKind::None:
                break;
        }
        return nullptr;
    }
    void showMessage(const std::string& text) override { log.push_back("message " + text); }
    std::string wordLine(int) override { return {}; }
    char decimalSeparator() override { return ','; }

    std::vector<std::string> shows() const {
        std::vector<std::string> out;
        for (const auto& l : log)
            if (l.rfind("show ", 0) == 0 || l.rfind("hide ", 0) == 0) out.push_back(l);
        return out;
    }

private:
    class Channel final : public ProgressRole {
    public:
        Channel(std::vector<std::string>& log, const char* word) : log_(log), word_(word) {}
        void processEvents() override {}
        void setProgress(int position) override {
            log_.push_back("progress " + word_ + " " + std::to_string(position));
        }
        void showProgress(const std::string& text) override { log_.push_back("show " + word_ + " " + text); }
        void hideProgress() override { log_.push_back("hide " + word_); }

    private:
        std::vector<std::string>& log_;
        std::string word_;
    };
    Channel pel_{log, "pel"}, cdr_{log, "cdr"}, wrd_{log, "wrd"};
};

}  // namespace pelmar::test
