// Loads the shared library at run time, as a host that does not link it would, and shows
// that unloading forgets every assignment: the next load starts from the initial tables.
#include <dlfcn.h>

#include <string>

#include <gtest/gtest.h>

namespace {

using CalcFunction = char* (*)(char*);

class LoadedLibrary {
public:
    LoadedLibrary() : handle_(dlopen(KXCALC_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL)) {
        if (handle_) calc_ = reinterpret_cast<CalcFunction>(dlsym(handle_, "kx_calc"));
    }
    ~LoadedLibrary() {
        if (handle_) dlclose(handle_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool ready() const { return calc_ != nullptr; }

    std::string operator()(const std::string& line) {
        std::string buffer = line;
        buffer.resize(std::max<std::size_t>(64, line.size() + 1), '\0');
        return calc_(buffer.data());
    }

private:
    void* handle_;
    CalcFunction calc_ = nullptr;
};

bool libraryIsLoaded() {
    void* probe = dlopen(KXCALC_LIBRARY_PATH, RTLD_NOW | RTLD_NOLOAD);
    if (probe == nullptr) return false;
    dlclose(probe);
    return true;
}

TEST(reload, unloading_forgets_variables_and_tolerance) {
    {
        LoadedLibrary calc;
        ASSERT_TRUE(calc.ready()) << dlerror();
        EXPECT_EQ(calc("set x = 2+i"), "2+i");
        EXPECT_EQ(calc("set tol = 0.5"), "0.5");
        EXPECT_EQ(calc("x*x"), "3+4i");
        EXPECT_EQ(calc("0.3+2*i"), "2i");
    }
    EXPECT_FALSE(libraryIsLoaded()) << "dlclose left the library in memory";
    {
        LoadedLibrary calc;
        ASSERT_TRUE(calc.ready()) << dlerror();
        EXPECT_EQ(calc("x"), "Ran Out of Data");  // x is an unknown name again
        EXPECT_EQ(calc("1e-10"), "0");              // tol is 1e-10 again
        EXPECT_EQ(calc("1.5e-10"), "1.5e-010");
        EXPECT_EQ(calc("0.3+2*i"), "0.3+2i");
    }
}

TEST(reload, many_cycles_give_the_same_answers) {
    for (int cycle = 0; cycle < 20; ++cycle) {
        LoadedLibrary calc;
        ASSERT_TRUE(calc.ready());
        EXPECT_EQ(calc("v"), "Ran Out of Data") << "cycle " << cycle;
        EXPECT_EQ(calc("set v = " + std::to_string(cycle)), std::to_string(cycle));
    }
}

}  // namespace
