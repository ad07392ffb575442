// Start-up in a real GL context: the light and the materials, both projections and a
// reshape to a zero side, the twenty texture slots, and no GL error through start-up and
// frames on every screen.
#include <GL/glut.h>
#include <gtest/gtest.h>

#include "app/game_state.h"
#include "assets/assets.h"
#include "render/render.h"
#include "tests/render/game_window.h"
#include "tests/render/gl_math.h"
#include "tests/render/stdout_capture.h"

using namespace rt;

namespace {

void expectVec4(const GLfloat* got, GLfloat x, GLfloat y, GLfloat z, GLfloat w, const char* what) {
    EXPECT_FLOAT_EQ(got[0], x) << what;
    EXPECT_FLOAT_EQ(got[1], y) << what;
    EXPECT_FLOAT_EQ(got[2], z) << what;
    EXPECT_FLOAT_EQ(got[3], w) << what;
}

Mat4 defaultLookAt() { return lookAt({0, 0, 4}, {0, 0, 0}, {0, 1, 0}); }

struct ViewState {
    Mat4 projection;
    GLint viewport[4];
    int32_t width, height;
};

ViewState viewState() {
    ViewState v{glMatrix(GL_PROJECTION_MATRIX), {0, 0, 0, 0}, game.windowWidth, game.windowHeight};
    glGetIntegerv(GL_VIEWPORT, v.viewport);
    return v;
}

// A plate over the middle of the view, in the colour given, with texture coordinates.
const Plate probePlate = {{0.8f, 0.4f, 0.2f},
                          {{0, 0}, {1, 0}, {1, 1}, {0, 1}},
                          {{-0.5f, -0.5f, 0}, {0.5f, -0.5f, 0}, {0.5f, 0.5f, 0}, {-0.5f, 0.5f, 0}}};

Frame showPlateWith(GLuint slot) {
    return showPieces([slot] {
        glDisable(GL_LIGHTING);
        glBindTexture(GL_TEXTURE_2D, slot);
        emitPlate(probePlate);
        endFlatPiece();
    });
}

}  // namespace

class StartUp : public GameWindowTest {};

// The first test of its process to ask: the flag still holds whatever start-up raised.
TEST_F(StartUp, RaisesNoGlError) { EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)); }

TEST_F(StartUp, LightsTheSceneWithOneWhiteLightAndSmoothShading) {
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_FALSE(glIsEnabled(GL_LIGHT1));
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    // Colour material would let the plate colours override every material.
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint shade = 0;
    glGetIntegerv(GL_SHADE_MODEL, &shade);
    EXPECT_EQ(shade, GL_SMOOTH) << "start-up must leave the flat shading of the light set-up behind";

    GLfloat v[4];
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, v);
    expectVec4(v, 0.6f, 0.6f, 0.6f, 1.0f, "diffuse");
    glGetLightfv(GL_LIGHT0, GL_AMBIENT, v);
    expectVec4(v, 1, 1, 1, 1, "ambient");
    glGetLightfv(GL_LIGHT0, GL_SPECULAR, v);
    expectVec4(v, 1, 1, 1, 1, "specular");
}

TEST_F(StartUp, AFrameKeepsTheLightDirectionalFromAboveRightAndFront) {
    showFrame();
    // The display look-at is a translation, which leaves a direction as it is.
    GLfloat v[4];
    glGetLightfv(GL_LIGHT0, GL_POSITION, v);
    expectVec4(v, 0.25f, 0.25f, 0.5f, 0.0f, "position in eye coordinates");
}

TEST_F(StartUp, TheThreeMaterialsReachBothFacesUnclamped) {
    struct Expected {
        const Material* material;
        GLfloat ambient[4], diffuse[4], specular[4], shininess;
    };
    const Expected table[3] = {
        {&turquoiseMaterial,
         {0.1f, 0.28725f, 0.2745f, 0.8f},
         {0.396f, 0.74151f, 0.69102f, 0.8f},
         {0.297254f, 0.30829f, 0.306678f, 0.8f},
         12.8f},
        {&whiteMaterial, {1, 1, 1, 0.8f}, {1, 1, 1, 0.8f}, {1, 1, 1, 0.8f}, 20.0f},
        {&goldMaterial,
         {0.24725f, 0.2245f, 0.0645f, 1},
         {0.34615f, 0.3143f, 0.0903f, 1},
         {0.797357f, 0.723991f, 0.208006f, 1},
         83.2f},
    };
    for (const Expected& e : table) {
        applyMaterial(*e.material);
        for (GLenum face : {GL_FRONT, GL_BACK}) {
            GLfloat v[4];
            glGetMaterialfv(face, GL_AMBIENT, v);
            expectVec4(v, e.ambient[0], e.ambient[1], e.ambient[2], e.ambient[3], "ambient");
            glGetMaterialfv(face, GL_DIFFUSE, v);
            expectVec4(v, e.diffuse[0], e.diffuse[1], e.diffuse[2], e.diffuse[3], "diffuse");
            glGetMaterialfv(face, GL_SPECULAR, v);
            expectVec4(v, e.specular[0], e.specular[1], e.specular[2], e.specular[3], "specular");
            glGetMaterialfv(face, GL_SHININESS, v);
            EXPECT_FLOAT_EQ(v[0], e.shininess);
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

class Projection : public GameWindowTest {};

TEST_F(Projection, PerspectiveIsFiftyDegreesFromTwoToTenBehindTheLookAt) {
    struct Case {
        int w, h;
    };
    for (Case c : {Case{900, 900}, Case{900, 600}, Case{400, 800}}) {
        StdoutCapture out;
        onReshape(c.w, c.h);
        EXPECT_EQ(out.finish(), "perspective\n");
        // The aspect is a division in double: 900 / 600 is 1.5, not 1.
        const Mat4 expected = perspective(50, double(c.w) / c.h, 2, 10) * defaultLookAt();
        EXPECT_LT(maxDifference(glMatrix(GL_PROJECTION_MATRIX), expected), 1e-6) << c.w << " x " << c.h;
        const ViewState v = viewState();
        EXPECT_EQ(v.viewport[0], 0);
        EXPECT_EQ(v.viewport[1], 0);
        EXPECT_EQ(v.viewport[2], c.w);
        EXPECT_EQ(v.viewport[3], c.h);
        EXPECT_EQ(v.width, c.w);
        EXPECT_EQ(v.height, c.h);
        EXPECT_LT(maxDifference(glMatrix(GL_MODELVIEW_MATRIX), identity()), 1e-12);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

TEST_F(Projection, OrthographicSpansTwoUnitsUpAndDownAndPrintsNothing) {
    game.usePerspective = false;
    struct Case {
        int w, h;
    };
    for (Case c : {Case{900, 900}, Case{900, 600}}) {
        StdoutCapture out;
        onReshape(c.w, c.h);
        EXPECT_EQ(out.finish(), "");
        const double a = double(c.w) / c.h;
        const Mat4 expected = ortho(-2 * a, 2 * a, -2, 2, 1, 15) * defaultLookAt();
        EXPECT_LT(maxDifference(glMatrix(GL_PROJECTION_MATRIX), expected), 1e-6) << c.w << " x " << c.h;
        const ViewState v = viewState();
        EXPECT_EQ(v.viewport[2], c.w);
        EXPECT_EQ(v.viewport[3], c.h);
    }
}

TEST_F(Projection, AZeroSideLeavesProjectionViewportAndSizeAsTheyWere) {
    for (bool perspectiveView : {true, false}) {
        game.usePerspective = perspectiveView;
        {
            StdoutCapture quiet;
            onReshape(900, 600);  // a state that differs from every default
        }
        const ViewState before = viewState();
        for (auto size : {std::pair{900, 0}, std::pair{0, 900}, std::pair{0, 0}}) {
            StdoutCapture out;
            onReshape(size.first, size.second);
            EXPECT_EQ(out.finish(), "") << size.first << " x " << size.second;
            const ViewState after = viewState();
            EXPECT_EQ(maxDifference(after.projection, before.projection), 0.0);
            for (int i = 0; i < 4; ++i) EXPECT_EQ(after.viewport[i], before.viewport[i]);
            EXPECT_EQ(after.width, 900);
            EXPECT_EQ(after.height, 600);
        }
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}

class TextureSlots : public GameWindowTest {};

// One white texel, sampled as every picture is: a piece under it keeps its own colour
// and shares the GL state (and so the compiled shaders) of the textured pieces.
TEST_F(TextureSlots, ThePlainSlotHoldsOneWhiteTexelAndDrawsPlatesInTheirOwnColour) {
    const GLenum sampling[] = {GL_TEXTURE_WRAP_S, GL_TEXTURE_WRAP_T, GL_TEXTURE_MIN_FILTER, GL_TEXTURE_MAG_FILTER};
    GLint picture[4];
    glBindTexture(GL_TEXTURE_2D, TexBackdrop);
    for (int i = 0; i < 4; ++i) glGetTexParameteriv(GL_TEXTURE_2D, sampling[i], &picture[i]);
    glBindTexture(GL_TEXTURE_2D, TexPlain);
    GLint w = -1;
    GLint h = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    for (int i = 0; i < 4; ++i) {
        GLint plain = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, sampling[i], &plain);
        EXPECT_EQ(plain, picture[i]) << "sampling parameter " << i;
    }

    const WinPoint centre = project(displayFrame(), {0, 0, 0});
    const Rgb plateColour = {204, 102, 51};
    EXPECT_LE(colourDistance(showPlateWith(TexPlain).at(centre), plateColour), 1);
    // The same plate under a loaded slot is modulated by the picture: the probe can tell.
    EXPECT_LE(colourDistance(showPlateWith(TexMenu).at(centre), modulate(plateColour, slotColour(TexMenu))), 1);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST_F(TextureSlots, EachPictureSlotHoldsItsOwnFileAtTheFileSize) {
    for (int slot = 1; slot <= PictureCount; ++slot) {
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(slot));
        GLint w = 0;
        GLint h = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &h);
        EXPECT_EQ(w, slotWidth(slot)) << textureFiles[slot];
        EXPECT_EQ(h, slotHeight(slot)) << textureFiles[slot];
    }
    // And each wears its own colour: a white plate shows the picture as it is.
    const WinPoint centre = project(displayFrame(), {0, 0, 0});
    const Rgb white = {255, 255, 255};
    for (int slot = 1; slot <= PictureCount; ++slot) {
        const Frame f = showPieces([slot] {
            glDisable(GL_LIGHTING);
            glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(slot));
            Plate plate = probePlate;
            plate.colour[0] = plate.colour[1] = plate.colour[2] = 1.0f;
            emitPlate(plate);
            endFlatPiece();
        });
        EXPECT_EQ(f.at(centre), modulate(white, slotColour(slot))) << textureFiles[slot];
    }
}

class Frames : public GameWindowTest {};

TEST_F(Frames, EveryScreenAndViewDrawsWithoutAGlError) {
    ASSERT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    for (bool perspectiveView : {true, false}) {
        game.usePerspective = perspectiveView;
        {
            StdoutCapture quiet;
            onReshape(900, 900);
        }
        for (Screen screen : {ScreenMachine, ScreenPrize, ScreenTokens}) {
            for (bool axes : {false, true}) {
                game.screen = screen;
                game.showAxes = axes;
                game.tickets = screen == ScreenPrize ? 7 : 3;  // the prize screen with its ball
                showFrame();
                EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR))
                    << "screen " << screen << (axes ? " with" : " without") << " axes, "
                    << (perspectiveView ? "perspective" : "orthographic");
                GLint shade = 0;
                glGetIntegerv(GL_SHADE_MODEL, &shade);
                EXPECT_EQ(shade, GL_SMOOTH);
                EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
            }
        }
    }
}
