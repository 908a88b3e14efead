#pragma once
// One cusp volume measurement for the tests: a tooth grid with a paraboloid cusp standing
// on a tilted basal plane, its plane grid, formula and tooth-length files in a temporary
// folder, the run's state with the chosen version ticked and a scripted prompt.
#include "core/appstate.h"
#include "core/fileroutines.h"
#include "core/grid.h"
#include "core/prompt.h"
#include "formats/surfergrid.h"
#include "planes/planeformula.h"
#include "planes/toothlength.h"
#include "support/tempfolder.h"
#include "surfer/application.h"
#include "toothfeatures/cuspvol.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

namespace cuspvoltest {

using namespace trelvik;
using namespace trelvik::toothfeatures;

// The basal plane and the cusp: z = C + B y + A x + max(0, H - K r^2).
inline constexpr double A = 0.2, B = -0.1, C = 5, H = 8, K = 0.32;  // cusp base radius 5

inline double plane(double x, double y) { return C + B * y + A * x; }
inline double cusp(double x, double y) { return std::max(0.0, H - K * (x * x + y * y)); }

// Volume of the cusp above the plane raised by L (0 <= L <= H).
inline double capVolume(double L) { return std::numbers::pi * (H - L) * (H - L) / (2 * K); }

// Area of the tooth surface where the cusp stands above the plane raised by L, by a fine
// polar midpoint rule (independent of any grid): |(-(A + fx), -(B + fy), 1)| over the disc.
inline double capSurface(double L)
{
    const double R = std::sqrt((H - L) / K);
    const int nr = 2000, nt = 720;
    double sum = 0;
    for (int i = 0; i < nr; ++i) {
        const double r = (i + 0.5) * R / nr;
        for (int j = 0; j < nt; ++j) {
            const double t = (j + 0.5) * 2 * std::numbers::pi / nt;
            const double x = r * std::cos(t), y = r * std::sin(t);
            const double gx = A - 2 * K * x, gy = B - 2 * K * y;
            sum += std::sqrt(1 + gx * gx + gy * gy) * r;
        }
    }
    return sum * (R / nr) * (2 * std::numbers::pi / nt);
}

inline Grid makeGrid(int n, double half, double (*f)(double, double))
{
    Grid g(n, n, -half, half, -half, half);
    for (int j = 0; j < n; ++j)
        for (int i = 0; i < n; ++i)
            g.at(i, j) = f(g.x(i), g.y(j));
    return g;
}

inline double tooth(double x, double y) { return plane(x, y) + cusp(x, y); }

// A circle of `n` points round the cusp, as digit.dat lines.
inline std::string circleOutline(double radius, int n)
{
    std::string s;
    for (int k = 0; k < n; ++k) {
        const double t = 2 * std::numbers::pi * k / n;
        s += std::to_string(radius * std::cos(t)) + "," + std::to_string(radius * std::sin(t)) + "\r\n";
    }
    return s;
}

struct CuspVolTestRun {
    trelvik::testing::TempFolder dir;
    AppState app;
    ScriptedPrompt prompt;
    CuspVolControls c;
    CuspVolState s;
    CuspVolRun run{app, prompt, c, s};

    explicit CuspVolTestRun(bool v6, int nodes = 201)
    {
        surfer::shutdownAll();
        app.mnuSurf6Checked = v6;
        app.mnuSurf8Checked = !v6;
        app.ProgramDir = dir.folder();
        c.Label1 = dir.folder();
        formats::writeSurferGrid(dir.path("T1.grd"), makeGrid(nodes, 10, tooth), formats::SurferGridFormat::Binary7);
        formats::writeSurferGrid(dir.path("T1ovplane.grd"), makeGrid(nodes, 10, plane),
                                 formats::SurferGridFormat::Binary7);
        planes::WritePlaneFormulaFile(dir.path("T1ovplaneform.txt"), planes::PlaneCoefficients{C, B, A});
        planes::writeToothLengthFile(dir.path("T1_tl.txt"), 20);
    }
    ~CuspVolTestRun() { surfer::shutdownAll(); }

    // Next "Digitise map" question: saves `content` as digit.dat and answers OK.
    void digitise(const std::string& content)
    {
        prompt.respond([path = dir.path("digit.dat"), content](const ScriptedPrompt::Shown& m) {
            EXPECT_EQ(m.title, "Digitise map");
            EXPECT_EQ(m.readPath, path);
            writeFileAtomic(path, content);
            return Answer::Ok;
        });
    }
    void chooseCusp(const std::string& name)
    {
        c.Combo1 = name;
        Combo1_Click(run);
    }
    std::string lastMessage() const { return prompt.shown.empty() ? std::string() : prompt.shown.back().text; }
};

} // namespace cuspvoltest
