#pragma once

#include "engine3d/SceneObject.h"
#include "engine3d/TcbChannel.h"
#include "math/Vec3.h"

#include <memory>
#include <vector>

namespace zov {

struct VertexRecord {
    Vec3 position{0, 0, 0};
    Vec3 normal{0, 0, 0};
};

// A scene object with a vertex store: the vertices as given (object space)
// and a working copy of each that rendering overwrites every frame, and the
// key lists its channels refer to.
class VertexObject : public SceneObject {
public:
    static constexpr int kMaxVertices = 50000;
    static constexpr int kMaxKeyLists = 200;

    // Prints "deallocated TCB list \n".
    ~VertexObject() override;

    // Stores a copy of the vertex and a working copy of its position; 0. At
    // the limit prints "blahg!!! overtepping max vertices !!!\n" and returns
    // -1 without storing. Records returned below stay where they are until
    // the next addVertex.
    int addVertex(const VertexRecord& vertex);
    int vertexCount() const { return static_cast<int>(source_.size()); }
    // The record, or null when no vertex i was added.
    VertexRecord* sourceVertex(int i);
    VertexRecord* workingVertex(int i);

    // A new empty key list owned by this object for its channels, or null
    // past kMaxKeyLists.
    TcbList* addKeyList();

    // 1: when added to a scene, the object takes the scene's surface table.
    int sharesSurfaces = 0;

protected:
    std::vector<VertexRecord> source_;
    std::vector<VertexRecord> working_;

private:
    std::vector<std::unique_ptr<TcbList>> keyLists_;
};

} // namespace zov
