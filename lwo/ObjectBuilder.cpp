#include "lwo/ObjectBuilder.h"

#include "image/ImageLoaderRegistry.h"
#include "lwo/PolygonTriangulator.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace zov {

namespace {

constexpr std::uint32_t kDefaultColour = 0x00C8C8C8;

int mapTypeFor(const std::string& name)
{
    auto same = [&name](const char* other) {
        std::size_t i = 0;
        for (; other[i] != '\0'; ++i)
            if (i >= name.size() || std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(other[i]))
                return false;
        return i == name.size();
    };
    if (same("Cylindrical Image Map"))
        return 2;
    if (same("Spherical Image Map"))
        return 0;
    return 1; // planar, also for names not known
}

std::unique_ptr<TextureSlot> loadSlot(const char* path, ImageLoaderRegistry& images)
{
    // Object files name pictures of their authors' disks: one that is not
    // here must not end the show.
    std::unique_ptr<Bitmap> picture = images.loadPicture(path, {256, 256, true, true, "the surface keeps its colour"});
    if (!picture)
        return nullptr;
    auto slot = std::make_unique<TextureSlot>();
    slot->bitmap = std::move(picture);
    return slot;
}

void mapCorners(SurfacePolygon& p, const TextureSlot* slot, float (&coords)[6], meshSurfaceObject& mesh,
                MappingRandom& random)
{
    for (int k = 0; k < 3; ++k) {
        const Vec3& at = mesh.sourceVertex(p.vertices[k])->position;
        const TexelPair uv =
            mapCoordinates(slot, static_cast<float>(at.x), static_cast<float>(at.y), static_cast<float>(at.z), random);
        coords[2 * k] = uv.u;
        coords[2 * k + 1] = uv.v;
    }
}

std::shared_ptr<PolygonTexture> defaultSurface()
{
    auto s = std::make_shared<PolygonTexture>();
    s->name = "Default";
    s->colour = kDefaultColour;
    return s;
}

} // namespace

TexelPair mapCoordinates(const TextureSlot* slot, float x, float y, float z, MappingRandom& random)
{
    TexelPair out;
    out.u = static_cast<float>(random.next() & 255);
    out.v = static_cast<float>(random.next() & 255);
    if (slot == nullptr || slot->mapType != 1)
        return out;
    const double d[3] = {x - slot->centre.x, y - slot->centre.y, z - slot->centre.z};
    const double size[3] = {slot->size.x, slot->size.y, slot->size.z};
    // Axis X projects (z, y), Y projects (x, z), Z projects (x, y).
    static constexpr int kAxes[3][2] = {{2, 1}, {0, 2}, {0, 1}};
    const int axis = slot->axis >= 0 && slot->axis <= 2 ? slot->axis : 0;
    auto project = [&](int c, double scale, float& value) {
        if (size[c] == 0.0)
            return;
        const double r = std::floor((d[c] / size[c] + 0.5) * scale);
        if (std::isfinite(r))
            value = static_cast<float>(r);
    };
    project(kAxes[axis][0], 255.0, out.u);
    project(kAxes[axis][1], -255.0, out.v);
    return out;
}

std::unique_ptr<TextureSlot> makeTextureSlot(const LwoTextureDef& texture, ImageLoaderRegistry& images)
{
    std::unique_ptr<TextureSlot> slot = loadSlot(texture.imageName.c_str(), images);
    if (!slot)
        return nullptr;
    slot->mapType = mapTypeFor(texture.typeName);
    // In this order, so that the highest axis bit wins.
    slot->axis = 0;
    if (texture.flags & 1)
        slot->axis = 0;
    if (texture.flags & 2)
        slot->axis = 1;
    if (texture.flags & 4)
        slot->axis = 2;
    slot->centre = texture.centre;
    slot->size = texture.size;
    return slot;
}

std::shared_ptr<PolygonTexture> translateSurface(const LwoSurface* surface, ImageLoaderRegistry& images)
{
    if (surface == nullptr) {
        std::printf("trying to translate NULL surface !! \n");
        return nullptr;
    }
    auto t = std::make_shared<PolygonTexture>();
    t->colour = surface->colour;
    t->transparency = static_cast<float>(surface->transparency);
    t->name = surface->name.substr(0, PolygonTexture::kMaxName);
    if (surface->colourTexture.hasImage)
        if ((t->slots[0] = makeTextureSlot(surface->colourTexture, images)))
            t->flags |= PolygonTexture::kImageTexture | PolygonTexture::kImageCoords;
    if (surface->transparencyTexture.hasImage)
        if ((t->slots[3] = makeTextureSlot(surface->transparencyTexture, images)))
            t->flags |= PolygonTexture::kFourthCoords;
    t->blend = 0;
    return t;
}

std::unique_ptr<meshSurfaceObject> buildObject(const LwoObjectData& data, std::shared_ptr<SurfaceTable> surfaces)
{
    auto mesh = std::make_unique<meshSurfaceObject>();
    mesh->sharesSurfaces = 1;
    if (surfaces)
        mesh->setSurfaceTable(std::move(surfaces));
    SurfaceTable& table = mesh->surfaces();

    ImageLoaderRegistry images;
    for (const LwoSurface& s : data.surfaces) {
        if (table.find(s.name)) {
            std::printf("this scene already has a surface called %s\n", s.name.c_str());
            continue;
        }
        table.add(translateSurface(&s, images)); // dropped when the table is full
    }
    // The surface each SURF chunk's name finds, looked up once.
    std::vector<std::shared_ptr<PolygonTexture>> bySurf;
    for (const LwoSurface& s : data.surfaces)
        bySurf.push_back(table.find(s.name));

    for (const Vec3& point : data.points) {
        VertexRecord v;
        v.position.set(point.x, point.y, point.z);
        mesh->addVertex(v);
    }

    std::shared_ptr<PolygonTexture> fallback;
    MappingRandom random;
    PolygonTriangulator triangulator;
    std::vector<CornerTriangle> triangles;
    for (const LwoPolygon& lp : data.polygons) {
        if (mesh->polygonCount() >= MeshObject::kMaxPolygons)
            break; // every further triangle would be dropped
        std::shared_ptr<PolygonTexture> surface;
        if (lp.surface >= 0 && static_cast<std::size_t>(lp.surface) < bySurf.size())
            surface = bySurf[static_cast<std::size_t>(lp.surface)];
        if (!surface) {
            if (!fallback)
                fallback = defaultSurface();
            surface = fallback;
        }
        triangulator.triangulate(data.points, lp.indices, triangles);
        for (const CornerTriangle& t : triangles) {
            auto p = std::make_unique<SurfacePolygon>();
            p->vertexCount = 3;
            p->vertices[0] = lp.indices[t.a];
            p->vertices[1] = lp.indices[t.b];
            p->vertices[2] = lp.indices[t.c];
            p->texture = surface;
            if (mesh->sourceVertex(p->vertices[0]) == nullptr || mesh->sourceVertex(p->vertices[1]) == nullptr ||
                mesh->sourceVertex(p->vertices[2]) == nullptr)
                continue;
            if (surface->flags & PolygonTexture::kImageCoords)
                mapCorners(*p, surface->slots[0].get(), p->imageCoords, *mesh, random);
            if (surface->flags & PolygonTexture::kFourthCoords)
                mapCorners(*p, surface->slots[3].get(), p->transpCoords, *mesh, random);
            if (surface->flags & PolygonTexture::kBumpCoords)
                mapCorners(*p, surface->slots[2].get(), p->bumpCoords, *mesh, random);
            mesh->addPolygon(std::move(p)); // dropped past the polygon limit
        }
    }
    std::printf("deleted object \n");
    mesh->scale.set(1, 1, 1);
    mesh->position.set(0, 0, 0);
    mesh->rotation.set(0, 0, 0);
    return mesh;
}

std::unique_ptr<meshSurfaceObject> loadEnvMappedObject(const char* objectFile, const char* textureFile,
                                                       bool transparent)
{
    LwoReader reader;
    reader.read(objectFile);
    std::unique_ptr<meshSurfaceObject> mesh = buildObject(reader.result());

    auto environment = std::make_shared<PolygonTexture>();
    ImageLoaderRegistry images;
    if ((environment->slots[1] = loadSlot(textureFile, images)))
        environment->flags = PolygonTexture::kEnvironmentMap;
    environment->blend = transparent ? 8 : 0;

    // Polygon normals were made as the polygons were added; each vertex
    // normal is the normalized sum over every use of the vertex, in polygon
    // order.
    std::vector<Vec3> sums(static_cast<std::size_t>(mesh->vertexCount()), Vec3(0, 0, 0));
    for (int i = 0; i < mesh->polygonCount(); ++i) {
        SurfacePolygon& p = *mesh->polygon(i);
        p.texture = environment;
        for (int k = 0; k < 3; ++k)
            sums[static_cast<std::size_t>(p.vertices[k])].addInPlace(p.objectNormal);
    }
    for (int v = 0; v < mesh->vertexCount(); ++v) {
        Vec3 n = sums[static_cast<std::size_t>(v)];
        n.normalize();
        mesh->sourceVertex(v)->normal = n;
        mesh->workingVertex(v)->normal = n;
    }
    return mesh;
}

} // namespace zov
