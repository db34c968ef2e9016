#include "mesh_nodes.h"

namespace kestrel {

namespace {

class UnsetReporter {
  public:
    explicit UnsetReporter(Host& host) : host_(host) {}
    void report(const std::string& text) {
        if (!pending_) return;
        host_.message(text, Buttons::Ok);
        pending_ = false;
    }

  private:
    Host& host_;
    bool pending_ = true;
};

void equalSpacing(Array1<double>& node, int count, Integer step) {
    node.at(1) = 0;
    for (int k = 2; k <= count + 1; ++k)
        node.at(k) = node.at(k - 1) + step;
}

void fromList(Array1<double>& node, const Array1<double>& list, int count,
              const std::string& firstMessage, UnsetReporter& reporter) {
    if (list.at(1) == kUnsetCoordinate) {
        reporter.report(firstMessage);
        node.at(1) = 0;
    } else {
        node.at(1) = list.at(1);
    }
    for (int k = 2; k <= count + 1; ++k) {
        if (list.at(k) == kUnsetCoordinate) {
            reporter.report(kMissingXYMessage);
            node.at(k) = node.at(k - 1);
        } else {
            node.at(k) = list.at(k);
        }
    }
}

} // namespace

void BuildMeshNodes(SimulationState& m, Host& host) {
    m.xNode.redim(AddInteger(m.nx, 1));
    m.yNode.redim(AddInteger(m.ny, 1));
    if (m.meshMode != 0) {
        equalSpacing(m.xNode, m.nx, m.meshSizeX);
        equalSpacing(m.yNode, m.ny, m.meshSizeY);
        return;
    }
    UnsetReporter reporter(host);
    fromList(m.xNode, m.coordListX, m.nx, kMissingXMessage, reporter);
    fromList(m.yNode, m.coordListY, m.ny, kMissingXYMessage, reporter);
}

} // namespace kestrel
