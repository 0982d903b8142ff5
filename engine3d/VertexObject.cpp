#include "engine3d/VertexObject.h"

#include "image/ReleaseLines.h"

#include <cstdio>

namespace zov {

VertexObject::~VertexObject()
{
    announceRelease("deallocated TCB list \n");
}

int VertexObject::addVertex(const VertexRecord& vertex)
{
    if (vertexCount() >= kMaxVertices) {
        std::printf("blahg!!! overtepping max vertices !!!\n");
        return -1;
    }
    source_.push_back(vertex);
    VertexRecord working;
    working.position = vertex.position;
    working_.push_back(working);
    return 0;
}

VertexRecord* VertexObject::sourceVertex(int i)
{
    return i >= 0 && i < vertexCount() ? &source_[static_cast<std::size_t>(i)] : nullptr;
}

VertexRecord* VertexObject::workingVertex(int i)
{
    return i >= 0 && i < vertexCount() ? &working_[static_cast<std::size_t>(i)] : nullptr;
}

TcbList* VertexObject::addKeyList()
{
    if (static_cast<int>(keyLists_.size()) >= kMaxKeyLists)
        return nullptr;
    keyLists_.push_back(std::make_unique<TcbList>());
    return keyLists_.back().get();
}

} // namespace zov
