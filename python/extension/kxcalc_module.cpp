// kxcalc._kxcalc: the calculator for Python. The library is compiled into this module, so
// kx_calc is a plain call; the interpreter's lock is released while it runs.
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>

#include "help_text.h"
#include "kx_calc.h"
#include "result_text.h"
#include "tables/vocabulary.h"

namespace {

// kx_calc writes its answer over the line: the buffer holds at least 64 bytes (a message
// and its terminator) and at least the line and its terminator.
constexpr Py_ssize_t minimumBuffer = 64;
// Lines up to this size use a buffer on the stack; longer ones one from the heap.
constexpr Py_ssize_t stackBuffer = 512;

PyObject* calcError = nullptr;

// A line's bytes, borrowed from the argument or from an encoded copy of it.
struct LineBytes {
    const char* data = nullptr;
    Py_ssize_t size = 0;
    PyObject* owner = nullptr;  // a new reference to keep the bytes alive, or null

    ~LineBytes() { Py_XDECREF(owner); }
};

// A str line is encoded as UTF-8, with lone surrogates (from surrogateescape) turned back
// into the bytes they stand for; a bytes line is passed as it is.
bool lineBytes(PyObject* line, LineBytes& bytes) {
    if (PyUnicode_Check(line)) {
#if PY_VERSION_HEX < 0x030C0000
        if (PyUnicode_READY(line) < 0) return false;  // a string still in the legacy form
#endif
        if (PyUnicode_IS_ASCII(line)) {  // the common case: the text is its own encoding
            bytes.data = static_cast<const char*>(PyUnicode_DATA(line));
            bytes.size = PyUnicode_GET_LENGTH(line);
        } else {
            bytes.owner = PyUnicode_AsEncodedString(line, "utf-8", "surrogateescape");
            if (bytes.owner == nullptr) return false;
            bytes.data = PyBytes_AS_STRING(bytes.owner);
            bytes.size = PyBytes_GET_SIZE(bytes.owner);
        }
    } else if (PyBytes_Check(line)) {
        bytes.data = PyBytes_AS_STRING(line);
        bytes.size = PyBytes_GET_SIZE(line);
    } else {
        PyErr_Format(PyExc_TypeError, "a kxcalc line must be str or bytes, not %.100s", Py_TYPE(line)->tp_name);
        return false;
    }
    if (std::memchr(bytes.data, '\0', static_cast<std::size_t>(bytes.size)) != nullptr) {
        // kx_calc would read the line only up to the NUL: refuse rather than cut it.
        PyErr_SetString(PyExc_ValueError, "a kxcalc line must not contain a NUL character");
        return false;
    }
    return true;
}

// Calls kx_calc on a copy of the line and makes the text it leaves into a str (UTF-8, bytes
// that are not UTF-8 kept as lone surrogates). *isResult tells a result from a message.
PyObject* answer(PyObject* line, bool* isResult, kxcalc::python::ResultValue* value) {
    LineBytes bytes;
    if (!lineBytes(line, bytes)) return nullptr;
    const Py_ssize_t size = std::max(minimumBuffer, bytes.size + 1);
    char onStack[stackBuffer];
    char* buffer = size <= stackBuffer ? onStack : static_cast<char*>(PyMem_Malloc(static_cast<std::size_t>(size)));
    if (buffer == nullptr) return PyErr_NoMemory();
    std::memcpy(buffer, bytes.data, static_cast<std::size_t>(bytes.size));
    buffer[bytes.size] = '\0';

    Py_BEGIN_ALLOW_THREADS
    kx_calc(buffer);
    Py_END_ALLOW_THREADS

    const std::string_view text(buffer);
    *isResult = kxcalc::python::readResult(text, value);
    PyObject* result = PyUnicode_DecodeUTF8(text.data(), static_cast<Py_ssize_t>(text.size()), "surrogateescape");
    if (buffer != onStack) PyMem_Free(buffer);
    return result;
}

PyObject* raiseMessage(PyObject* message) {
    PyErr_SetObject(calcError, message);
    Py_DECREF(message);
    return nullptr;
}

// calc(line, /, *, raise_errors=True)
PyObject* calc(PyObject* /*module*/, PyObject* const* args, Py_ssize_t nargs, PyObject* kwnames) {
    const Py_ssize_t positional = PyVectorcall_NARGS(nargs);
    bool raiseErrors = true;
    if (kwnames != nullptr) {
        for (Py_ssize_t k = 0; k < PyTuple_GET_SIZE(kwnames); ++k) {
            PyObject* name = PyTuple_GET_ITEM(kwnames, k);
            if (PyUnicode_CompareWithASCIIString(name, "raise_errors") != 0) {
                PyErr_Format(PyExc_TypeError, "calc() got an unexpected keyword argument '%U'", name);
                return nullptr;
            }
            const int truth = PyObject_IsTrue(args[positional + k]);
            if (truth < 0) return nullptr;
            raiseErrors = truth != 0;
        }
    }
    if (positional != 1) {
        PyErr_Format(PyExc_TypeError, "calc() takes exactly one line (%zd given)", positional);
        return nullptr;
    }
    bool isResult = false;
    PyObject* text = answer(args[0], &isResult, nullptr);
    if (text == nullptr || isResult || !raiseErrors) return text;
    return raiseMessage(text);
}

PyObject* evaluate(PyObject* /*module*/, PyObject* line) {
    bool isResult = false;
    kxcalc::python::ResultValue value;
    PyObject* text = answer(line, &isResult, &value);
    if (text == nullptr) return nullptr;
    if (!isResult) return raiseMessage(text);
    Py_DECREF(text);
    return PyComplex_FromDoubles(value.re, value.im);
}

PyObject* isMessage(PyObject* /*module*/, PyObject* text) {
    if (!PyUnicode_Check(text)) {
        PyErr_Format(PyExc_TypeError, "is_message() takes a str, not %.100s", Py_TYPE(text)->tp_name);
        return nullptr;
    }
    Py_ssize_t size = 0;
    const char* data = PyUnicode_AsUTF8AndSize(text, &size);
    if (data == nullptr) {  // lone surrogates: not a result, which is plain ASCII
        PyErr_Clear();
        Py_RETURN_TRUE;
    }
    return PyBool_FromLong(!kxcalc::python::readResult(std::string_view(data, static_cast<std::size_t>(size)), nullptr));
}

template <std::size_t N>
PyObject* nameTuple(const std::array<std::string_view, N>& names) {
    PyObject* tuple = PyTuple_New(static_cast<Py_ssize_t>(N));
    if (tuple == nullptr) return nullptr;
    for (std::size_t k = 0; k < N; ++k) {
        PyObject* name = PyUnicode_FromStringAndSize(names[k].data(), static_cast<Py_ssize_t>(names[k].size()));
        if (name == nullptr) {
            Py_DECREF(tuple);
            return nullptr;
        }
        PyTuple_SET_ITEM(tuple, static_cast<Py_ssize_t>(k), name);
    }
    return tuple;
}

PyObject* text(std::string_view value) {
    return PyUnicode_FromStringAndSize(value.data(), static_cast<Py_ssize_t>(value.size()));
}

// Adds a new reference under name; consumes it, also on failure.
bool addObject(PyObject* module, const char* name, PyObject* value) {
    if (value == nullptr) return false;
    if (PyModule_AddObject(module, name, value) < 0) {
        Py_DECREF(value);
        return false;
    }
    return true;
}

PyMethodDef methods[] = {
    {"calc", reinterpret_cast<PyCFunction>(reinterpret_cast<void (*)()>(calc)), METH_FASTCALL | METH_KEYWORDS,
     "calc($module, line, /, *, raise_errors=True)\n--\n\n"
     "Evaluate one line and return the text kx_calc writes for it.\n\n"
     "A message raises CalcError carrying its text, unless raise_errors is false:\n"
     "then the message is returned like a result (tell them apart with is_message)."},
    {"evaluate", evaluate, METH_O,
     "evaluate($module, line, /)\n--\n\n"
     "Evaluate one line and return its value as a complex number.\n\n"
     "The value is read back from the result text (15 significant digits, parts not above\n"
     "tol written as 0, 'nan' read as complex('nan')); a message raises CalcError."},
    {"is_message", isMessage, METH_O,
     "is_message($module, text, /)\n--\n\n"
     "Whether a text that calc returned is an error message rather than a result."},
    {nullptr, nullptr, 0, nullptr}};

PyModuleDef moduleDefinition = {PyModuleDef_HEAD_INIT, "kxcalc._kxcalc",
                                "The calculator library, compiled into this module.", -1, methods,
                                nullptr, nullptr, nullptr, nullptr};

}  // namespace

PyMODINIT_FUNC PyInit__kxcalc() {
    PyObject* module = PyModule_Create(&moduleDefinition);
    if (module == nullptr) return nullptr;
    calcError = PyErr_NewExceptionWithDoc(
        "kxcalc.CalcError",
        "A line that kxcalc answered with an error message; str(error) is the message text.",
        PyExc_ValueError, nullptr);
    Py_XINCREF(calcError);  // one reference for the module, one kept here
    const bool added =
        addObject(module, "CalcError", calcError) &&
        addObject(module, "FUNCTION_NAMES", nameTuple(kx::vocabulary::functionNames)) &&
        addObject(module, "CONSTANT_NAMES", nameTuple(kx::vocabulary::constantNames)) &&
        addObject(module, "TOLERANCE_NAME", text(kx::vocabulary::toleranceName)) &&
        addObject(module, "HELP_TEXT", text(kxcalc::helpText)) &&
        addObject(module, "EDITING_HELP_TEXT", text(kxcalc::editingHelpText)) &&
        addObject(module, "LEAVING_HELP_TEXT", text(kxcalc::leavingHelpText)) &&
        addObject(module, "__version__", text(KXCALC_VERSION));
    if (!added) {
        Py_DECREF(module);
        return nullptr;
    }
    return module;
}
