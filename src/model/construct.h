// Segment, triangle and tetragon construction geometry: the setters the
// dialogs call after a value was typed, and the type rules and derived
// elements the update procedures call.
#pragma once

#include "model/records.h"

namespace pelmar {

double LineScreenAngle(const DLine& l);
double LineLength(const DLine& l);
void SetLineAngle(DLine& l);
void SetLineLength(DLine& l);
void PlaceEllipseRadius(DCircle& c, int k);
double AngleBetweenLines(const DLine& l1, const DLine& l2);

void TriEquilateralApex(DTri& t);
void TriIsoscelesApex(DTri& t);
void TriRightApex(DTri& t);
void TriCircles(DTri& t);
void TriSpecialLines(DTri& t);

// kind 1 triangle (t is used), 2 tetragon (k is used); c = which angle was typed.
void RotateSideToAngle(const DTri& t, const DKv& k, int kind, double& x, double& y, double& z, int c);

void KvMakeSquare(DKv& k);
void KvMakeRectangle(DKv& k);
void KvMakeRhombus(DKv& k);
void KvMakeParallelogram(DKv& k);
void KvMakeTrapezium(DKv& k);
void KvSetHeight(DKv& k);

}  // namespace pelmar
