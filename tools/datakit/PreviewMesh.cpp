#include "tools/datakit/PreviewMesh.h"

#include "engine3d/Matrix.h"
#include "engine3d/Vec3.h"

#include <algorithm>
#include <cmath>

namespace zov::kit {

namespace {

struct ScreenVertex {
    float sx, sy, invZ;
    float u, v; // texture or environment coordinates
};

Vec3 polygonNormal(const LwoObject& o, const LwoPolygon& p)
{
    const auto& a = o.points[p.vertices[0]];
    const auto& b = o.points[p.vertices[1]];
    const auto& c = o.points[p.vertices[2]];
    Vec3 A(a[0], a[1], a[2]), B(b[0], b[1], b[2]), C(c[0], c[1], c[2]);
    Vec3 n = B.minus(A).cross(C.minus(B));
    n.normalize();
    return n;
}

std::vector<Vec3> smoothNormals(const LwoObject& o)
{
    std::vector<Vec3> sums(o.points.size(), Vec3(0, 0, 0));
    for (const LwoPolygon& p : o.polygons) {
        const Vec3 n = polygonNormal(o, p);
        for (int k = 0; k < 3; ++k)
            sums[p.vertices[k]].addInPlace(n);
    }
    for (Vec3& s : sums)
        s.normalize();
    return sums;
}

bool backFacing(const ScreenVertex v[3])
{
    return (v[0].sy - v[2].sy) * (v[1].sx - v[0].sx) - (v[1].sy - v[0].sy) * (v[0].sx - v[2].sx) > 0.0f;
}

} // namespace

PreviewRenderer::PreviewRenderer(int width, int height)
    : width_(width), height_(height), depth_(static_cast<std::size_t>(width) * height, 0.0f)
{
}

void PreviewRenderer::clearDepth() { std::fill(depth_.begin(), depth_.end(), 0.0f); }

void PreviewRenderer::draw(Frame& target, const LwoObject& o, const double position[3], const double rotation[3],
                           double cameraZ, const Frame* environment, const std::vector<const Frame*>& images)
{
    Matrix rx, ry, rz, tr, view;
    rx.rotationX(-rotation[0]);
    ry.rotationY(-rotation[1]);
    rz.rotationZ(-rotation[2]);
    const Matrix normalMatrix = rx.times(ry).times(rz);
    tr.translation(position[0], position[1], position[2]);
    view.translation(0.0, 0.0, -cameraZ);
    const Matrix toCamera = normalMatrix.times(tr).times(view);
    const std::vector<Vec3> normals = smoothNormals(o);
    const float w = static_cast<float>(width_);
    std::vector<Vec3> cam(o.points.size());
    for (std::size_t i = 0; i < o.points.size(); ++i)
        cam[i] = Vec3(o.points[i][0], o.points[i][1], o.points[i][2]).transform(toCamera);

    for (const LwoPolygon& p : o.polygons) {
        const LwoSurface& surface = o.surfaces[p.surface - 1];
        const Frame* image = environment ? environment : images[p.surface - 1];
        ScreenVertex v[3];
        bool behind = false;
        for (int k = 0; k < 3; ++k) {
            const Vec3& c = cam[p.vertices[k]];
            behind = behind || c.z < 1.0;
            v[k].sx = static_cast<float>(w * c.x / c.z + width_ / 2);
            v[k].sy = static_cast<float>(height_ / 2 - w * c.y / c.z);
            v[k].invZ = static_cast<float>(1.0 / c.z);
            if (environment) {
                const Vec3 n = normals[p.vertices[k]].transform(normalMatrix);
                v[k].u = std::trunc(static_cast<float>(n.x * 127.0 + 128.0));
                v[k].v = std::trunc(static_cast<float>(n.y * 127.0 + 128.0));
            } else if (image && surface.colourTexture) {
                const LwoTexture& t = *surface.colourTexture;
                const auto& q = o.points[p.vertices[k]];
                // Planar map along z.
                v[k].u = std::floor(((q[0] - t.centre[0]) / t.size[0] + 0.5f) * 255.0f);
                v[k].v = std::floor(((q[1] - t.centre[1]) / t.size[1] + 0.5f) * -255.0f);
            }
        }
        if (behind || ((environment || image) && backFacing(v)))
            continue;
        std::uint32_t flat = 0;
        if (!image) {
            const Vec3 n = polygonNormal(o, p).transform(normalMatrix);
            Vec3 d = cam[p.vertices[0]].minus(Vec3(0, 0, 1));
            d.normalize();
            const double i = std::max(0.0, -d.dot(n));
            const auto k = static_cast<std::uint32_t>(i * 255.0);
            for (int s = 0; s < 24; s += 8)
                flat |= ((((surface.colour >> s) & 255) * k) >> 8) << s;
        }
        const int x0 = std::max(0, static_cast<int>(std::floor(std::min({v[0].sx, v[1].sx, v[2].sx}))));
        const int x1 = std::min(width_ - 1, static_cast<int>(std::ceil(std::max({v[0].sx, v[1].sx, v[2].sx}))));
        const int y0 = std::max(0, static_cast<int>(std::floor(std::min({v[0].sy, v[1].sy, v[2].sy}))));
        const int y1 = std::min(height_ - 1, static_cast<int>(std::ceil(std::max({v[0].sy, v[1].sy, v[2].sy}))));
        const float area = (v[1].sx - v[0].sx) * (v[2].sy - v[0].sy) - (v[2].sx - v[0].sx) * (v[1].sy - v[0].sy);
        if (std::fabs(area) < 1e-6f)
            continue;
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const float px = static_cast<float>(x) + 0.5f, py = static_cast<float>(y) + 0.5f;
                const float b0 = ((v[1].sx - px) * (v[2].sy - py) - (v[2].sx - px) * (v[1].sy - py)) / area;
                const float b1 = ((v[2].sx - px) * (v[0].sy - py) - (v[0].sx - px) * (v[2].sy - py)) / area;
                const float b2 = 1.0f - b0 - b1;
                if (b0 < 0.0f || b1 < 0.0f || b2 < 0.0f)
                    continue;
                const float invZ = b0 * v[0].invZ + b1 * v[1].invZ + b2 * v[2].invZ;
                float& depth = depth_[static_cast<std::size_t>(y) * width_ + x];
                if (invZ <= depth)
                    continue;
                depth = invZ;
                std::uint32_t colour = flat;
                if (image) {
                    float u = b0 * v[0].u + b1 * v[1].u + b2 * v[2].u;
                    float t = b0 * v[0].v + b1 * v[1].v + b2 * v[2].v;
                    if (!environment) {
                        // Image maps are drawn perspective-correct.
                        u = (b0 * v[0].u * v[0].invZ + b1 * v[1].u * v[1].invZ + b2 * v[2].u * v[2].invZ) / invZ;
                        t = (b0 * v[0].v * v[0].invZ + b1 * v[1].v * v[1].invZ + b2 * v[2].v * v[2].invZ) / invZ;
                    }
                    colour = image->at(static_cast<int>(std::floor(u)) & 255, static_cast<int>(std::floor(t)) & 255);
                }
                target.at(x, y) = colour;
            }
    }
}

} // namespace zov::kit
