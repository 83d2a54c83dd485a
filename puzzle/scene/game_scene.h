#pragma once

#include <array>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "puzzle/rules/game_state.h"
#include "puzzle/rules/palette.h"
#include "render/camera.h"
#include "render/floor_grid.h"
#include "render/scene.h"
#include "render/scene_object.h"

namespace vokta {

// The model file, looked up in the scene's model directory.
inline constexpr std::string_view kModelFileName = "vokta.x";
// Prefix of every piece's name; picking finds pieces by it.
inline constexpr std::string_view kPieceNamePrefix = "x3ds_vokta";

inline constexpr int kRollerCount = 6;
// Where an unused marker waits: far beyond the back clipping plane, so it is neither seen nor picked.
inline constexpr Vec3 kParkingPosition{10000.0f, 10000.0f, 10000.0f};
// Distance of a roller from the piece position: three cells, clear of every cube.
inline constexpr float kMarkerDistance = 30.0f;

// The game's lights: a white and a dimmer grey light from above on either
// side, and a faint ambient light.
void addSceneLights(Scene& scene);

// What shows a puzzle piece: one cube per offset of its shape, turned and
// placed as the piece stands.
class Piece : public SceneObject {
public:
    using SceneObject::SceneObject;

    // Builds shape index (0 to 6): name, and a mesh of one cube per offset.
    void build(int index);
    // A new mesh of one cube at each of cubeOffsets, unturned; colour and
    // quality are the caller's to set again. A number shown stays, on the new cubes.
    void buildMesh(const CubeOffsets& cubeOffsets);
    // Shows digit (1 to 9) in ink on every outer face of the piece's cubes, a
    // second visual of its frame, so that it moves and turns with the piece
    // and picking it picks the piece; 0 shows none.
    void showNumber(int digit, Colour ink);
    int number() const { return number_; }
    // Turns and places the frame as piece stands. Offsets that are no turn
    // of the shape built (a script may put any four cubes) get a mesh of their own.
    void show(const PieceState& piece);

private:
    CubeOffsets shape_{};
    // The offsets the mesh was built with: where the cubes are in the frame's own axes.
    CubeOffsets builtOffsets_{};
    int number_ = 0;
    Colour numberInk_ = 0;
    std::shared_ptr<MeshBuilder> numberMesh_;
};

// What shows the task figure: one cube per cell, white wire by default or solid on request.
class TaskFigure : public SceneObject {
public:
    using SceneObject::SceneObject;

    // Replaces the figure's mesh by one cube per cell.
    void buildMesh(std::span<const Vec3> cells);
    // Solid: lit and flat shaded; otherwise an unlit wireframe. Remembered across rebuilds.
    void setSolid(bool solid);
    bool solid() const { return solid_; }

private:
    bool solid_ = false;
};

// A rotation handle: clicking it turns the selected piece a quarter turn about
// a world axis.
class Roller : public SceneObject {
public:
    using SceneObject::SceneObject;

    int axis = 0;  // 0 x, 1 y, 2 z
    bool positive = false;
};

// How the scene is shown: its colours, and whether each piece shows the
// digit that selects it. Neither touches the rules.
struct ViewOptions {
    const Palette* palette = &kOriginalPalette;
    bool pieceNumbers = false;
};

// The see-through piece a hint shows at its place.
struct Ghost {
    int piece = 0;
    Cell position;
    CubeOffsets offsets{};
    friend bool operator==(const Ghost&, const Ghost&) = default;
};

// The scene graph that shows a game: the camera, the floor and its shadows,
// the task figure, the pieces, the direction marker, the rollers and a
// hint's ghost. The rules never read it; show() brings it in line with the
// game state after every change, touching only what changed.
class GameScene {
public:
    // Model files are read from modelDirectory. The scene is empty until build().
    explicit GameScene(std::string modelDirectory);
    ~GameScene();

    GameScene(const GameScene&) = delete;
    GameScene& operator=(const GameScene&) = delete;

    // Lights, background, floor, figure, the seven pieces, the direction
    // marker and the rollers (parked), loaded from the model file.
    void build();
    // Brings every object in line with state and the ghost, if any.
    void show(const GameState& state, const std::optional<Ghost>& ghost);
    // Shows the scene with these options, all at once.
    void setViewOptions(ViewOptions options);
    const ViewOptions& viewOptions() const { return options_; }
    const Palette& palette() const { return *options_.palette; }

    // The piece view picked, as an index, or -1.
    int pieceIndex(const SceneObject* object) const;

    Scene scene;
    Camera camera;

    std::unique_ptr<FloorGrid> floorGrid;
    std::unique_ptr<TaskFigure> taskFigure;
    std::array<std::unique_ptr<Piece>, kPieceTotal> pieces;
    std::unique_ptr<SceneObject> directionMarker;
    std::array<std::unique_ptr<Roller>, kRollerCount> rollers;
    std::unique_ptr<Piece> hintGhost;

private:
    void showPiece(const GameState& state, int index);
    void showFigure(const GameState& state);
    void showGhost(const std::optional<Ghost>& ghost);
    void updateShadows(const GameState& state);

    ViewOptions options_;
    // What the objects show now; nothing before the first show().
    std::optional<GameState> shown_;
    std::optional<Ghost> shownGhost_;
};

}  // namespace vokta
