#include "e2e/ProgramInputs.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace graphmat::test {

namespace fs = std::filesystem;

std::vector<std::string> weighted(std::vector<std::string> args) {
    args.insert(args.begin(), kWeights.begin(), kWeights.end());
    return args;
}

void layInputs() {
    writeFile("gA.csv", "3,2\n0,a\n1,b\n2,c\n0,1,1\n1,2,2\n");
    writeFile("gB.csv", "3,2\n0,a\n1,b\n2,d\n0,1,1\n2,1,2\n");
    fs::create_directories("datasets/random");
    writeFile("datasets/random/g.csv", "1\n2\n3\n4\n5\n6\n0,0\n1,1\n2,2\n");
    fs::copy_file(exampleFile("library-v1.txt"), "lib1.txt");
    fs::copy_file(exampleFile("library-v2.txt"), "lib2.txt");
    fs::create_directories("results/uml");
    writeFile("results/uml/uml_lib1_lib2.csv", "\"lib.model.Book__lib.model.Book\"\n\"lib.Main__lib.Main\"\n");
    writeFile("e1.csv", "3,2\n0,1,1\n1,2,2\n");
    writeFile("e2.csv", "3,2\n0,1,1\n2,1,2\n");
    fs::copy_file(exampleFile("shop-v1.txt"), "shop1.txt");
    fs::copy_file(exampleFile("order-sequence-v1.txt"), "sequence.txt");
    fs::copy_file(exampleFile("door-states-v1.txt"), "states.txt");
    writeFile("named.csv", "a,b,1\nb,c,2\nc,a,1\n");
    fs::create_directories("graphs");
    fs::create_directories("logs");

    const std::string evaluation = exampleFile("evaluation");
    copyExampleFiles("evaluation", {"datasets/shop/v1.txt", "datasets/shop/v2.txt"});
    fs::copy_file(evaluation + "/results/v1__v2" + kRunName, "results/v1__v2" + kRunName);
    fs::copy_file(evaluation + "/results/_v1__v2.csv", "results/_v1__v2.csv");
    fs::copy_file(evaluation + "/old.csv", "old.csv");
    fs::copy_file(evaluation + "/new.csv", "new.csv");
    writeFile("log.txt", "n,0,1,a,a\nn,1,2,b,b\nn,2,0,c,c\n");

    copyExampleFiles("series", exampleSeriesFiles(), "series");
    std::string list;
    for (const char* version : {"4", "3", "2", "1"}) list += std::string("g,series/shop-") + version + ".txt\n";
    for (const char* step : {"3__shop-4", "2__shop-3", "1__shop-2"})
        list += std::string("m,series/matches/shop-") + step + kRunName + "\n";
    writeFile("series.txt", list);

    fs::create_directories("cd");
    fs::create_directories("datasets/cdiagrams/eclipse");
    for (const char* name : {"shop-cd-1.txt", "shop-cd-2.txt"}) {
        fs::copy_file(exampleFile("datasets/cdiagrams/eclipse/") + name, std::string("cd/") + name);
        fs::copy_file(std::string("cd/") + name, std::string("datasets/cdiagrams/eclipse/") + name);
    }
}

void linkInput(const std::string& link, const std::string& target) {
    if (link.empty()) return;
    fs::remove(link);
    fs::create_symlink(target, link);
}

RunResult runBounded(long kilobytes, const std::string& program, const std::vector<std::string>& args,
                     const std::string& before, unsigned killAfterSeconds) {
#if defined(__SANITIZE_ADDRESS__)
    const std::string bound;
    (void)kilobytes;
#else
    const std::string bound = "ulimit -v " + std::to_string(kilobytes) + " && ";
#endif
    std::vector<std::string> shellArgs = {"-c", before + bound + "exec \"$0\" \"$@\"", program};
    shellArgs.insert(shellArgs.end(), args.begin(), args.end());
    return runProgram("/bin/sh", shellArgs, {"", killAfterSeconds});
}

std::map<std::string, std::string> filesHere() {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator("."))
        if (entry.is_regular_file() && !entry.is_symlink())
            files[entry.path().lexically_relative(".").string()] = readFile(entry.path().string());
    return files;
}

std::set<std::string> differingFiles(const std::map<std::string, std::string>& a,
                                     const std::map<std::string, std::string>& b) {
    std::set<std::string> names;
    for (const auto& [name, content] : a)
        if (!b.count(name) || b.at(name) != content) names.insert(name);
    for (const auto& [name, content] : b)
        if (!a.count(name)) names.insert(name);
    return names;
}

RunTrace traceOf(const RunResult& result, const std::string& input) {
    static const std::regex mcesTime("(0,MCES,[^,]*,[^,]*,[^,]*,)[^,]*");
    RunTrace trace{result, filesHere()};
    trace.files.erase(input);
    for (auto& [name, content] : trace.files) content = std::regex_replace(content, mcesTime, "$1<t>");
    return trace;
}

void expectSameRun(const RunTrace& changed, const RunTrace& plain, const std::string& what) {
    EXPECT_EQ(changed.result.status, plain.result.status) << what << changed.result.err;
    EXPECT_EQ(withoutTimes(changed.result.out), withoutTimes(plain.result.out)) << what;
    EXPECT_EQ(changed.result.err, plain.result.err) << what;
    EXPECT_EQ(differingFiles(changed.files, plain.files), std::set<std::string>{}) << what;
}

}  // namespace graphmat::test
