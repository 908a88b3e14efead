// The version-6 map calls, issued by position on the application and acting on its
// active plot document (one is opened when the active document is not a plot):
//
//   ReliefMap(GridFileName, 7 reserved slots, ObjectName)  relief map named ObjectName,
//                                                           at most 3.5 x 5.5 inches with
//                                                           its lower-left at (8, 9)
//   MapContour(GridFileName, Option)                        contour map; Option is kept
//   DrawText(X, Y, Text, ObjectName)                        text anchored at (X, Y) inches
//   Select(Name1 [, Name2 ...])                             selection = those shapes
//   TransformSel(dx, dy)                                    moves the selection by inches
//   Deselect()                                              empties the selection
//
// The version-6 batch layout steps maps 4 inches across and 7 down and puts each
// label at (8, 8.25) before that step; a relief map of this size and place keeps the
// maps apart and its label under the map's lower-left corner, below the axis numbers.
//
// An unknown shape name, moving an empty selection or a value in a reserved slot
// throws trelvik::Error.
#include "core/error.h"
#include "surfer/application.h"
#include "surfer/documents.h"
#include "surfer/operations.h"
#include "surfer/plotmodel.h"

#include <algorithm>

namespace surfer {

namespace {
constexpr double kV6MapMaxWidth = 3.5, kV6MapMaxHeight = 5.5;
constexpr double kV6MapLeft = 8, kV6MapBottom = 9;

PlotDocument& activePlot(Application& app) {
    std::shared_ptr<Document> active;
    if (!app.openDocuments().empty()) active = app.ActiveDocument();
    if (!active || active->kind() != DocumentKind::Plot) {
        auto doc = std::make_shared<PlotDocument>(app, app.nextDocumentName("Plot"));
        app.addDocument(doc);
        active = doc;
    }
    return *asPlot(active);
}

void reliefMap(Application& app, const Args& a) {
    for (int i = 2; i <= 8; ++i)
        if (a.has("Reserved" + std::to_string(i)))
            throw trelvik::Error("ReliefMap: argument " + std::to_string(i) + " must be left out");
    PlotDocument& plot = activePlot(app);
    const std::string path = a.text("GridFileName");
    auto map = plot.Shapes.addMap(MapKind::Relief, path, "ReliefMap");
    const double fit = std::min(kV6MapMaxWidth / map->XLength, kV6MapMaxHeight / map->YLength);
    map->XLength *= fit;
    map->YLength *= fit;
    map->Left = kV6MapLeft;
    map->Top = kV6MapBottom + map->YLength;
    if (auto name = a.optText("ObjectName"); name && !name->empty()) map->Name = *name;
}

void mapContour(Application& app, const Args& a) {
    PlotDocument& plot = activePlot(app);
    auto map = plot.Shapes.addMap(MapKind::Contour, a.text("GridFileName"), "MapContour");
    map->contourOption = a.optWhole("Option").value_or(0);
}

void drawText(Application& app, const Args& a) {
    PlotDocument& plot = activePlot(app);
    auto t = plot.Shapes.AddText(a.number("X"), a.number("Y"), a.text("Text"));
    if (auto name = a.optText("ObjectName"); name && !name->empty()) t->Name = *name;
}

void selectShapes(Application& app, const Args& a) {
    PlotDocument& plot = activePlot(app);
    std::vector<std::shared_ptr<Shape>> chosen;
    for (int i = 1; i <= 8; ++i) {
        auto name = a.optText("Object" + std::to_string(i));
        if (!name) continue;
        auto s = plot.Shapes.find(*name);
        if (!s) throw trelvik::Error("Select: the plot has no object named \"" + *name + "\"");
        chosen.push_back(s);
    }
    plot.Shapes.selection = std::move(chosen);
}

void transformSel(Application& app, const Args& a) {
    PlotDocument& plot = activePlot(app);
    if (plot.Shapes.selection.empty()) throw trelvik::Error("TransformSel: nothing is selected");
    const double dx = a.optNumber("dx").value_or(0), dy = a.optNumber("dy").value_or(0);
    for (auto& s : plot.Shapes.selection) s->translate(dx, dy);
    plot.Shapes.touch();
}

void deselect(Application& app, const Args&) { activePlot(app).Shapes.selection.clear(); }
} // namespace

void registerPlotCalls(OperationRegistry& reg) {
    OperationSpec relief;
    relief.name = "ReliefMap";
    relief.names = {"GridFileName"};
    for (int i = 2; i <= 8; ++i) relief.names.push_back("Reserved" + std::to_string(i));
    relief.names.push_back("ObjectName");
    relief.required = {"GridFileName"};
    relief.run = reliefMap;
    reg.add(relief);

    reg.add({"MapContour", {"GridFileName", "Option"}, {}, {"GridFileName"}, mapContour});
    reg.add({"DrawText", {"X", "Y", "Text", "ObjectName"}, {}, {"X", "Y", "Text"}, drawText});

    OperationSpec select;
    select.name = "Select";
    for (int i = 1; i <= 8; ++i) select.names.push_back("Object" + std::to_string(i));
    select.run = selectShapes;
    reg.add(select);

    reg.add({"TransformSel", {"dx", "dy"}, {}, {}, transformSel});
    reg.add({"Deselect", {}, {}, {}, deselect});
}

} // namespace surfer
