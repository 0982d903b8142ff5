#include "engine3d/Camera.h"
#include "engine3d/MeshObject.h"
#include "engine3d/SpriteCloud.h"
#include "engine3d/TcbChannel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace zov {
namespace {

constexpr double kHalfPi = 1.5707963267948966;

TcbList rampKeys(int mode = 0)
{
    TcbList list;
    for (int i = 0; i < 4; ++i)
        list.add({Vec3(10.0 * i, 0, 0), 10.0 * i, mode});
    return list;
}

TEST(TcbChannel, SplineAtAndBetweenKeys)
{
    const TcbList list = rampKeys();
    const struct {
        double t, x;
    } cases[] = {
        {15, 15},   // inner segment, both tangents 10
        {5, 3.75},  // first segment: no outgoing tangent
        {10, 10},   // a shared key time starts the later segment
        {0, 0},     // the first key
        {30, 30},   // the last key
        {-4, 0},    // before the keys: the first key's value
        {31.5, 30}, // after them: the last key's value
    };
    for (const auto& c : cases)
        EXPECT_NEAR(evaluate(list, c.t).x, c.x, 1e-12) << "t = " << c.t;
}

TEST(TcbChannel, LinearStepsWithWholeKeyUnitsAndOtherModesGiveZero)
{
    const TcbList linear = rampKeys(1);
    // The factor is a 32-bit float.
    EXPECT_NEAR(evaluate(linear, 12.0).x, 12.0, 1e-6);
    EXPECT_NEAR(evaluate(linear, 12.9).x, 12.0, 1e-6);
    EXPECT_NEAR(evaluate(linear, 13.0).x, 13.0, 1e-6);

    TcbList zero = rampKeys();
    zero.add({Vec3(50, 50, 50), 40.0, 2});
    EXPECT_DOUBLE_EQ(evaluate(zero, 35.0).x, 0.0);
    EXPECT_DOUBLE_EQ(evaluate(zero, 15.0).x, 15.0);
}

TEST(TcbChannel, DegenerateListsGiveDefinedValues)
{
    Vec3 value(7, 8, 9);
    TcbChannel none;
    none.evaluateInto(3.0, value);
    TcbList empty;
    TcbChannel emptyChannel{&empty};
    emptyChannel.evaluateInto(3.0, value);
    EXPECT_EQ(value.x, 7.0);

    TcbList one;
    one.add({Vec3(1, 2, 3), 5.0, 0});
    EXPECT_EQ(evaluate(one, 100.0).y, 2.0);

    // Two keys at one time: a zero span is at its start, for both kinds.
    for (int mode : {0, 1}) {
        TcbList same;
        same.add({Vec3(1, 0, 0), 5.0, mode});
        same.add({Vec3(4, 0, 0), 5.0, mode});
        const Vec3 v = evaluate(same, 5.0);
        EXPECT_TRUE(std::isfinite(v.x)) << "mode " << mode;
    }
}

TEST(Camera, ViewMovesThenTurnsWithoutNegating)
{
    Camera back;
    back.position.set(0, 0, -25);
    const Vec3 origin = Vec3(0, 0, 0).transform(back.rebuildView());
    EXPECT_NEAR(origin.z, 25.0, 1e-12);

    Camera turned;
    turned.rotation.set(0, kHalfPi, 0);
    const Vec3 ahead = Vec3(1, 0, 0).transform(turned.rebuildView());
    EXPECT_NEAR(ahead.x, 0.0, 1e-12);
    EXPECT_NEAR(ahead.z, 1.0, 1e-12);
}

class PlainMesh : public MeshObject {
public:
    std::uint8_t flagByte() const override { return 0; }
};

TEST(ObjectMatrix, MeshNegatesItsAnglesAndSpritesDoNot)
{
    PlainMesh mesh;
    mesh.rotation.set(0, 0, kHalfPi);
    mesh.scale.set(1, 1, 1);
    mesh.position.set(0, 0, 10);
    mesh.updateMatrix();
    const Vec3 m = Vec3(1, 0, 0).transform(mesh.objectMatrix);
    EXPECT_NEAR(m.x, 0.0, 1e-12);
    EXPECT_NEAR(m.y, 1.0, 1e-12);
    EXPECT_NEAR(m.z, 10.0, 1e-12);

    SpriteCloud cloud(nullptr, 1, 1);
    cloud.rotation.set(0, 0, kHalfPi);
    cloud.position.set(0, 0, 10);
    cloud.updateMatrix();
    const Vec3 s = Vec3(1, 0, 0).transform(cloud.objectMatrix);
    EXPECT_NEAR(s.y, -1.0, 1e-12);
}

TEST(VertexObject, StoreHoldsFiftyThousandVertices)
{
    PlainMesh mesh;
    for (int i = 0; i < VertexObject::kMaxVertices; ++i)
        ASSERT_EQ(mesh.addVertex({Vec3(i, 0, 0), Vec3(0, 0, 0)}), 0);
    testing::internal::CaptureStdout();
    EXPECT_EQ(mesh.addVertex({}), -1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "blahg!!! overtepping max vertices !!!\n");
    EXPECT_EQ(mesh.vertexCount(), 50000);
    EXPECT_EQ(mesh.sourceVertex(49999)->position.x, 49999.0);
    EXPECT_EQ(mesh.sourceVertex(50000), nullptr);
    EXPECT_EQ(mesh.workingVertex(-1), nullptr);
}

} // namespace
} // namespace zov
