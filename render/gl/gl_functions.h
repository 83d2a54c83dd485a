#pragma once

// The OpenGL entry points the scene drawer uses, as one table, so that the
// drawing code is the same on every platform: on the desktop they are
// OpenGL 3.3 core functions looked up in the context's driver, in the
// browser WebGL 2 (OpenGL ES 3.0) functions that Emscripten links in. The
// drawer uses nothing that the two do not share.

#include <functional>
#include <string>

#ifdef __EMSCRIPTEN__
#include <GLES3/gl3.h>
#define VOKTA_GL_ENTRY GL_APIENTRY
#else
#include <GL/gl.h>
#include <GL/glext.h>
#define VOKTA_GL_ENTRY APIENTRY
#endif

namespace vokta {

// Every entry point as X(result, name, parameters), in alphabetical order.
#define VOKTA_GL_FUNCTIONS(X)                                                                                          \
    X(void, glAttachShader, (GLuint program, GLuint shader))                                                           \
    X(void, glBindBuffer, (GLenum target, GLuint buffer))                                                              \
    X(void, glBindVertexArray, (GLuint array))                                                                         \
    X(void, glBlendFunc, (GLenum source, GLenum destination))                                                          \
    X(void, glBufferData, (GLenum target, GLsizeiptr size, const void* data, GLenum usage))                            \
    X(void, glClear, (GLbitfield mask))                                                                                \
    X(void, glClearColor, (GLfloat red, GLfloat green, GLfloat blue, GLfloat alpha))                                   \
    X(void, glCompileShader, (GLuint shader))                                                                          \
    X(GLuint, glCreateProgram, ())                                                                                     \
    X(GLuint, glCreateShader, (GLenum type))                                                                           \
    X(void, glCullFace, (GLenum mode))                                                                                 \
    X(void, glDeleteBuffers, (GLsizei count, const GLuint* buffers))                                                   \
    X(void, glDeleteProgram, (GLuint program))                                                                         \
    X(void, glDeleteShader, (GLuint shader))                                                                           \
    X(void, glDeleteVertexArrays, (GLsizei count, const GLuint* arrays))                                               \
    X(void, glDepthFunc, (GLenum function))                                                                            \
    X(void, glDepthMask, (GLboolean flag))                                                                             \
    X(void, glDisable, (GLenum capability))                                                                            \
    X(void, glDrawElements, (GLenum mode, GLsizei count, GLenum type, const void* indices))                            \
    X(void, glEnable, (GLenum capability))                                                                             \
    X(void, glEnableVertexAttribArray, (GLuint index))                                                                 \
    X(void, glFinish, ())                                                                                              \
    X(void, glFrontFace, (GLenum mode))                                                                                \
    X(void, glGenBuffers, (GLsizei count, GLuint * buffers))                                                           \
    X(void, glGenVertexArrays, (GLsizei count, GLuint * arrays))                                                       \
    X(void, glGetProgramInfoLog, (GLuint program, GLsizei size, GLsizei * length, GLchar * log))                       \
    X(void, glGetProgramiv, (GLuint program, GLenum name, GLint * value))                                              \
    X(void, glGetShaderInfoLog, (GLuint shader, GLsizei size, GLsizei * length, GLchar * log))                         \
    X(void, glGetShaderiv, (GLuint shader, GLenum name, GLint * value))                                                \
    X(const GLubyte*, glGetString, (GLenum name))                                                                      \
    X(GLint, glGetUniformLocation, (GLuint program, const GLchar* name))                                               \
    X(void, glLinkProgram, (GLuint program))                                                                           \
    X(void, glPolygonOffset, (GLfloat factor, GLfloat units))                                                          \
    X(void, glShaderSource, (GLuint shader, GLsizei count, const GLchar* const* sources, const GLint* lengths))        \
    X(void, glUniform1i, (GLint location, GLint value))                                                                \
    X(void, glUniform3f, (GLint location, GLfloat x, GLfloat y, GLfloat z))                                            \
    X(void, glUniform3fv, (GLint location, GLsizei count, const GLfloat* values))                                      \
    X(void, glUniformMatrix3fv, (GLint location, GLsizei count, GLboolean transpose, const GLfloat* values))           \
    X(void, glUniformMatrix4fv, (GLint location, GLsizei count, GLboolean transpose, const GLfloat* values))           \
    X(void, glUseProgram, (GLuint program))                                                                            \
    X(void, glVertexAttribPointer,                                                                                     \
      (GLuint index, GLint size, GLenum type, GLboolean normalized, GLsizei stride, const void* offset))               \
    X(void, glViewport, (GLint x, GLint y, GLsizei width, GLsizei height))

struct GlFunctions {
#define VOKTA_GL_POINTER(result, name, parameters) result(VOKTA_GL_ENTRY* name) parameters = nullptr;
    VOKTA_GL_FUNCTIONS(VOKTA_GL_POINTER)
#undef VOKTA_GL_POINTER
};

// What a platform hands out for an entry point's name; null when it has none.
using GlProcedure = void (*)();
using GlProcedureLookUp = std::function<GlProcedure(const char* name)>;

// Fills gl with lookUp's answers. Returns the names of the entry points it
// has not got, separated by spaces; empty when every one was found.
std::string loadGlFunctions(GlFunctions& gl, const GlProcedureLookUp& lookUp);

#ifdef __EMSCRIPTEN__
// The browser's WebGL 2 functions, as Emscripten links them.
GlFunctions linkedGlFunctions();
#endif

// What the shaders are written after: their language version (GLSL 3.30
// core on the desktop, GLSL ES 3.00 in the browser) and, where the language
// asks for it, the precision of their numbers.
extern const char* const kShaderPrelude;

}  // namespace vokta
