#pragma once
// The shared state of a calculation: the case's parameters, the mesh, the
// flow field, the solver's scratch arrays and the cell map's editing state.
// One object, passed by reference to every operation.
#include "app/limits.h"
#include "runtime/dynamic_array.h"
#include "runtime/integer.h"

#include <cmath>
#include <optional>
#include <vector>

namespace kestrel {

class Surface;

// What one time step's pressure iteration did.
struct StepReport {
    int sweeps = 0;
    double lastError = 0; // NaN when no sweep was made
};

// The force coefficients on the painted obstacle after one step.
struct ForceRecord {
    int step = 0;
    double cd = 0;         // drag: the force along x over D/2
    double cl = 0;         // lift: along y
    double cdPressure = 0; // the pressure terms of cd alone
    double cdFriction = 0; // the shear terms of cd alone
};

// U, V and P at the monitor cell after one step.
struct MonitorRecord {
    int step = 0;
    double u = 0, v = 0, p = 0;
    double time = 0; // since the run started, at the end of the step
};

// The method a run computes with. The classic one is the default; the
// second one's options mean nothing to it.
enum class Method { Classic, Staggered };
struct MethodChoice {
    Method method = Method::Classic;
    bool frictionlessWalls = false; // the channel walls; painted cells always have friction
    bool parabolicInflow = false;   // else uniform; mean speed 1 either way
    bool automaticTimeStep = false; // dt chosen each step: safety × the stable step
    double safety = 0.5;
    friend bool operator==(const MethodChoice&, const MethodChoice&) = default;
};

// What a run's steps say about the flow beyond its field, after each step.
struct FlowHealth {
    double meanPressure = NAN; // over the computed region's fluid cells
    int pressureRises = 0;     // steps in a row it rose
    std::optional<double> outflowRatio;
};

// The case's parameters: what the main window's fields and menus set and a
// case file holds (the parameter table lists the fields' ones).
struct CaseParameters {
    double dt = 0;
    double reynolds = 0;
    Integer stepCount = 0;
    Integer meshMode = 0; // -1 equal spacing, 0 user coordinates
    Integer nx = 0;
    Integer ny = 0;
    Integer meshSizeX = 0;
    Integer meshSizeY = 0;
    Integer maxIter = 0;
    double lineScale = 0;
    MethodChoice method;
    // The cell whose values are recorded every step; 0, 0 for none.
    Integer monitorI = 0, monitorJ = 0;
};

// The mesh: which cells are fluid, where the nodes are, and what the
// calculation derives from both (the boundary maps and the mesh factors).
struct MeshGeometry {
    Array2<Integer> cellKind{"cellKind"}; // 1 fluid, 0 non-fluid; (0..nx+1, 0..ny+1)
    Array1<double> coordListX{"coordListX"}, coordListY{"coordListY"};
    Array1<double> xNode{"xNode"}, yNode{"yNode"};
    Array1<double> facX1{"facX1"}, facX2{"facX2"}, facX3{"facX3"}, facX4{"facX4"}, facX5{"facX5"};
    Array1<double> facY1{"facY1"}, facY2{"facY2"}, facY3{"facY3"}, facY4{"facY4"}, facY5{"facY5"};
    Array2<Integer> bcMapA{"bcMapA"}, bcMapB{"bcMapB"};
};

// The flow: the field, the speed range its plot was coloured with, and what
// the last run that started recorded step by step.
struct FlowField {
    Array2<double> U{"U"}, V{"V"}, P{"P"};
    double speedMin = 0;
    double speedMax = 0;

    // Every finite step, in order, and the method that ran them (for the
    // second method a step's sweeps are its one direct solve, and its last
    // error the largest divergence left).
    std::vector<StepReport> history;
    Method historyMethod = Method::Classic;
    // The forces on the obstacle after each of those steps that had one.
    std::vector<ForceRecord> forceHistory;
    std::vector<MonitorRecord> monitorHistory;
    FlowHealth health;
};

// Arrays each phase of a step reuses for its own purpose; the code of each
// phase names what they hold there (the pressure equation's right-hand side
// and centre coefficients, the provisional velocity, the corrected one).
struct SolverScratch {
    Array2<double> work1{"work1"}, work2{"work2"}, work3{"work3"};
};

// What a click on the cell map does next.
enum class PickState : Integer {
    Off = 0,        // no cell map shown
    Cell = 1,       // a click flips one cell
    RangeStart = 2, // a click marks a range's first corner
    RangeEnd = 3,   // a click marks the opposite corner and flips the range
};

// Pointer editing of the cell map.
struct CellEditing {
    PickState pickState = PickState::Off;
    Integer rangeStartI = 0;
    Integer rangeStartJ = 0;
    Integer rangeEndI = 0;
    Integer rangeEndJ = 0;
};

// The shared state of a calculation, in its parts; an operation that needs
// only one part takes that part.
struct SimulationState : CaseParameters, MeshGeometry, FlowField, SolverScratch, CellEditing {
    Integer stopRequested = 0; // the stop button, read between steps
};

// Marker for a node without a coordinate in the coordinate lists.
constexpr double kUnsetCoordinate = -999999.0;

// User coordinate system of a picture from two corners; (left, top) is the
// top-left corner, (right, bottom) the bottom-right one.
void SetPictureScale(Surface& picture, double left, double top, double right, double bottom);

} // namespace kestrel
