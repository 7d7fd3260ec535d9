// Angles, the triangle shape measure and the corner rotations.
#pragma once

#include "core/job.h"

namespace gencampi {

inline constexpr double gradi_per_radiante = 57.2957795130824;

// The angle at (xj, yj) between the directions to (xi, yi) and (xk, yk), 0 to 180.
double ang_xy(double xi, double yi, double xj, double yj, double xk, double yk);

// ang_xy at node j between nodes i and k.
double ang(const Store& s, int i, int j, int k);

double arccos(double x);

// Area squared over the semi-perimeter to the fourth: 0 degenerate, 1/27 equilateral.
double areasuperim(const Store& s, int i, int j, int k);

// Rotate the corners so that the longest side runs from pv1 to pv2.
void sorta_3lati(const Store& s, int& pv1, int& pv2, int& pv3);
void sorta_lati(const Store& s, int& pv1, int& pv2, int& pv3, int& pv4);

// Rotate a quadrilateral to a long side close to an axis, for the squaring step.
void sorta_lati2(const Store& s, int& pv1, int& pv2, int& pv3, int& pv4);

// The straight-angle rule: the angle, plus 180, rounded half to even, modulo 180, is 0.
bool angolo_piatto(double a);

}  // namespace gencampi
