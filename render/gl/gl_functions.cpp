#include "render/gl/gl_functions.h"

namespace vokta {

#ifdef __EMSCRIPTEN__
// GLSL ES leaves fragment shaders without a default precision for floats.
const char* const kShaderPrelude = "#version 300 es\nprecision highp float;\nprecision highp int;\n";
#else
const char* const kShaderPrelude = "#version 330 core\n";
#endif

std::string loadGlFunctions(GlFunctions& gl, const GlProcedureLookUp& lookUp)
{
    std::string missing;
#define VOKTA_GL_LOAD(result, name, parameters)                                                                        \
    gl.name = reinterpret_cast<result(VOKTA_GL_ENTRY*) parameters>(lookUp(#name));                                     \
    if (!gl.name)                                                                                                      \
        missing += (missing.empty() ? "" : " ") + std::string(#name);
    VOKTA_GL_FUNCTIONS(VOKTA_GL_LOAD)
#undef VOKTA_GL_LOAD
    return missing;
}

#ifdef __EMSCRIPTEN__
GlFunctions linkedGlFunctions()
{
    GlFunctions gl;
#define VOKTA_GL_LINK(result, name, parameters) gl.name = &::name;
    VOKTA_GL_FUNCTIONS(VOKTA_GL_LINK)
#undef VOKTA_GL_LINK
    return gl;
}
#endif

}  // namespace vokta
