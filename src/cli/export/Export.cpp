#include "cli/export/Export.h"

#include "base/PathText.h"
#include "cli/Commands.h"
#include "cli/InputFiles.h"
#include "cli/Message.h"
#include "cli/export/ExportFile.h"
#include "cli/export/ExportFolder.h"
#include "cli/site/PathClaims.h"
#include "codemodel/HostObjectModel.h"
#include "platform/files/FileReading.h"
#include "sources/StoredProject.h"
#include "sources/TextEncoding.h"

#include <filesystem>
#include <system_error>
#include <unordered_map>

namespace quillmark::cli {

namespace fs = std::filesystem;

namespace {

// The name of a project's own folder when several are written: its file's or folder's name.
std::string ProjectFolderName(const StoredProject& project)
{
    const std::string name = Utf8FromPath(PathFromUtf8(project.fileName).filename());
    return name.empty() ? project.fileName : name;
}

struct Outcome {
    bool complete = true;
    void Fail(std::ostream& err, const std::string& message)
    {
        WriteMessage(err, message);
        complete = false;
    }
};

void ExportProject(const StoredProject& project, const std::string& folder, const ExportOptions& options,
                   PathClaims& claims, ExportFolder& output, const InputFiles& inputs, std::ostream& err,
                   Outcome& outcome)
{
    const std::string encoding = !options.encoding.empty()  ? options.encoding
                                 : project.encoding.empty() ? "UTF-8"
                                                            : project.encoding;
    // Each annotated folder claimed once, by its names joined with "/".
    std::unordered_map<std::string, std::string> folders{{"", folder}};
    for (const StoredModule& module : project.modules) {
        std::string place = folder;
        if (options.folders) {
            std::string annotated;
            for (const std::string& part : AnnotatedFolders(module.text)) {
                annotated += "/" + part;
                const auto [at, added] = folders.try_emplace(annotated);
                if (added)
                    at->second = claims.Claim(place, part, "/");
                place = at->second;
            }
        }
        const std::string path = claims.Claim(place, module.name, ExportExtension(module.type));
        const std::string where = project.fileName + ": module " + module.name;
        try {
            const std::string bytes = EncodeFromUtf8(ExportText(module), encoding);
            const std::string file = output.FileFor(path);
            if (const std::string* input = inputs.Find(file)) {
                outcome.Fail(err, file + ": it is one of the inputs (" + *input + "); module " + module.name +
                                      " is left out");
                continue;
            }
            // A binary part is written only as it is, byte for byte, before the .frm that names it.
            if (!module.binaryPart.empty()) {
                const std::string binaryPath =
                    path.substr(0, path.size() - ExportExtension(module.type).size()) + ".frx";
                if (const std::string* input = inputs.Find(output.FileFor(binaryPath)))
                    throw RuntimeError(err::PathFileAccess, {}, binaryPath + " is one of the inputs (" + *input + ")");
                const FileText binary = ReadWholeFile(PathFromUtf8(module.binaryPart));
                if (!binary.exists)
                    throw RuntimeError(err::FileNotFound, {}, module.binaryPart + " is gone");
                output.Write(binaryPath, binary.text);
            }
            output.Write(path, bytes);
            if (!module.binaryPart.empty())
                continue;
        } catch (const RuntimeError& e) {
            outcome.Fail(err, where + ": " + e.Problem() + "; left out");
            continue;
        }
        if (module.type == vbext_ct::MSForm)
            WriteMessage(err, where + ": " + path + " holds the form's designer text as the document keeps it; its " +
                                  module.name + ".frx (the controls' binary part) is not written, as it cannot be " +
                                  "written exactly: the form imports without its controls");
    }
}

} // namespace

void AddExportCommand(CLI::App& app, ExportCommand& command)
{
    ExportOptions& options = command.options;
    command.command = app.add_subcommand(
        "export", "Write every module of the projects into DIR as .bas, .cls and .frm files, as the VBA editor's "
                  "Export File writes them, so that they can be imported again or kept under version control");
    command.command->add_flag("--folders", options.folders,
                              "Lay the files out in folders by their '@Folder(\"A.B\") annotations (A/B/)");
    command.command
        ->add_option("--encoding", options.encoding,
                     "Encoding of the files written (e.g. UTF-8; default: the project's code page, as the editor "
                     "writes; UTF-8 for module files read)")
        ->type_name("ENC");
    command.command->add_option("-o,--output", options.outputFolder, "The folder to write into (made when missing)")
        ->type_name("DIR")
        ->required();
    command.command
        ->add_option("PATH", options.paths,
                     "A project: an Office document, a folder of .bas/.cls/.frm files or one module file")
        ->required();
}

int ExportModules(const ExportOptions& options, std::ostream& err)
{
    if (!options.encoding.empty()) {
        try {
            EncodeFromUtf8("A", options.encoding);
        } catch (const RuntimeError&) {
            WriteMessage(err, "--encoding " + options.encoding +
                                  ": unknown encoding; give one such as UTF-8, CP932, CP1252 or UTF-16LE");
            return kUsage;
        }
    }
    const fs::path folder = PathFromUtf8(options.outputFolder);
    const InputFiles inputs(options.paths, false);
    if (const std::string* input = inputs.Find(options.outputFolder)) {
        WriteMessage(err, "-o " + options.outputFolder + ": it is one of the inputs (" + *input + ")");
        return kUsage;
    }
    Outcome outcome;
    std::vector<StoredProject> projects;
    for (const std::string& path : options.paths) {
        try {
            StoredProject project = ReadStoredProject(path);
            if (project.locked)
                outcome.Fail(err, project.fileName + ": the VBA project is locked for viewing; none of its modules "
                                                     "is written");
            else
                projects.push_back(std::move(project));
        } catch (const RuntimeError& e) {
            outcome.Fail(err, e.Message() + "; left out");
        }
    }
    if (projects.empty()) {
        WriteMessage(err, "no project could be read; nothing was written");
        return kFailed;
    }
    std::error_code ec;
    fs::create_directory(folder, ec); // the folder itself, not the folders above it
    if (ec) {
        WriteMessage(err, options.outputFolder + ": cannot make the output folder: " + ec.message());
        return kFailed;
    }
    try {
        ExportFolder output(folder, [&] {
            WriteMessage(err, options.outputFolder + ": another run is writing there; waiting for it to end");
        });
        PathClaims claims;
        for (const StoredProject& project : projects) {
            // By the paths given, not those read, so that where a file goes does not hang on the others.
            const std::string own = options.paths.size() > 1 ? claims.Claim("", ProjectFolderName(project), "/") : "";
            ExportProject(project, own, options, claims, output, inputs, err, outcome);
        }
    } catch (const RuntimeError& e) {
        outcome.Fail(err, e.Message());
    }
    return outcome.complete ? kDone : kFailed;
}

} // namespace quillmark::cli
