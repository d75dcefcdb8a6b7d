// A document with animation formulas on a point, an ellipse, a 2D graph's
// parameter and a sphere, and a stand-in for the builder's window.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "files/document.h"
#include "model/defaults.h"
#include "model/geometry.h"
#include "model/vec_near.h"
#include "model/update.h"
#include "transform/anim_build.h"

namespace pelmar::test {

struct FakeAnimHost : AnimHost {
    std::vector<std::pair<std::string, TColor>> statuses;
    std::vector<std::string> messages;
    std::pair<int, int> progress;  // the last frame shown of the count
    int cancelAtPoll = -1;  // the poll (1-based) at which the user clicks "Отмена"
    int polls = 0;

    void setStatus(const std::string& text, TColor colour) override { statuses.emplace_back(text, colour); }
    void setProgress(int frame, int count) override { progress = {frame, count}; }
    bool cancelRequested() override { return ++polls == cancelAtPoll; }
    bool pollDuringFrame() override { return ++framePolls == cancelAtFramePoll; }
    int cancelAtFramePoll = -1;  // the same while a frame is traced
    int framePolls = 0;
    void showMessage(const std::string& text) override { messages.push_back(text); }
    const WordTable* words() const override { return table; }
    const WordTable* table = nullptr;  // Russian without one
};

inline std::unique_ptr<DProj> AnimatedDocument() {
    auto doc = NewDocument();
    DefaultsSource src;
    src.programFolder = "/nonexistent";
    src.pictureHeight = doc->Im.Height;

    DPoint p;
    LoadDefaultPoint(p, 1, src);
    UpdatePoint(p, 0);
    p.Anim = {"", "300+100*cos(x)", "300+100*sin(x)", ""};
    doc->Obj.Po.add(p);

    DCircle c;
    LoadDefaultCircle(c, 1, src);
    UpdateCircle(c, 0);
    c.ViewType.v = 1;
    c.Color.v = 0xFF0000;
    c.Thick.v = 2;
    c.Anim[0] = "40+15*x";
    c.Anim[1] = "30";
    doc->Obj.Ci.add(c);

    DXOY x;
    LoadDefaultXOY(x, 1, src);
    x.GraphOn[1].v = true;
    x.GraphThick[1].v = 2;
    x.GraphColor[1].v = 0x00A000;
    x.Style[1].Visible.v = 1;
    x.Style[1].Hidden.v = 1;
    x.Bounds[1] = {Ed<double>{true, -4}, Ed<double>{true, 4}, Ed<double>{true, -3}, Ed<double>{true, 3}};
    x.Graph[1].s = "$*sin(x)";
    x.Texts7[1] = "1+x";
    UpdateXOY(x, 0);
    doc->Obj.Xy.add(x);

    DSf s;
    LoadDefaultOrb(s, 1, src);
    s.View.v = 1;
    s.ContourOn.v = true;
    s.Color.v = 0x0000C0;
    s.Anim = "40+10*x";
    UpdateOrb(s, 0);
    doc->Obj.Sf.add(s);

    doc->AnimFrames = 3;
    doc->AnimDelay = 70000;
    doc->AnimStart = "0";
    doc->AnimStep = "1";
    doc->AnimLoop = true;
    return doc;
}

// A point where it should be, to a thousandth of a pixel.
inline void ExpectAt(Vec3 got, Vec3 want, const std::string& what) { ExpectNear(got, want, 0.001, what); }

// The document as the writer would store it.
inline std::string DocText(const DProj& doc) { return DocumentText(doc, WindowsFromRecord(doc), doc.Role, ','); }

}  // namespace pelmar::test
