#include "export/exporter.h"

#include "export/batch_plan.h"
#include "export/picture_job.h"
#include "export/progress_bar.h"
#include "platform/file_error.h"

namespace tessarin::exporter {

namespace {

constexpr const char* kProgram = "tessarin-export: ";

int runSingle(const ExportOptions& options, std::ostream& out, std::ostream& err) {
    try {
        exportPicture(jobFor(options, options.screenFile, options.paletteFile), options.output,
                      *options.format, Overwrite::replace);
    } catch (const FileError& e) {
        err << kProgram << e.what() << '\n';
        return kExitFileError;
    }
    if (!options.quiet) {
        out << options.output << '\n';
    }
    return kExitSuccess;
}

int runBatch(const ExportOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    auto planned = planBatch(options);
    if (const auto* usage = std::get_if<UsageError>(&planned)) {
        err << kProgram << usage->message << '\n';
        return kExitUsage;
    }
    const BatchPlan& plan = std::get<BatchPlan>(planned);
    if (!options.quiet) {
        for (const std::string& palette : plan.unusedPalettes) {
            err << kProgram << "note: palette file \"" << palette
                << "\" has no screen file of the same base name\n";
        }
    }
    ProgressBar bar(err, progress && !options.quiet, plan.items.size());
    std::size_t failed = 0;
    for (std::size_t i = 0; i < plan.items.size(); ++i) {
        const BatchItem& item = plan.items[i];
        bar.show(i, item.job.screenFile);
        try {
            exportPicture(item.job, item.output, *options.format, Overwrite::refuse);
            if (!options.quiet) {
                bar.clear();
                out << item.output << '\n' << std::flush;
            }
        } catch (const FileError& e) {
            bar.clear();
            err << kProgram << item.job.screenFile << ": " << e.what() << '\n';
            ++failed;
        }
    }
    bar.finish();
    if (failed > 0) {
        err << kProgram << failed << " of " << plan.items.size() << " files failed\n";
        return kExitFileError;
    }
    return kExitSuccess;
}

} // namespace

int runExport(const ExportOptions& options, std::ostream& out, std::ostream& err, bool progress) {
    return options.batch() ? runBatch(options, out, err, progress) : runSingle(options, out, err);
}

} // namespace tessarin::exporter
