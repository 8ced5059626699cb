#include "host/host_options.h"

namespace tesmo {

namespace {

bool IsModuleWord(const QString& argument) {
    return argument.compare(QLatin1String("TECHMODE"), Qt::CaseInsensitive) == 0 ||
           argument.compare(QLatin1String("/V"), Qt::CaseInsensitive) == 0;
}

} // namespace

QString HostUsage() {
    return QStringLiteral(
        "usage: tesmo --data FILE --id IDENTIFIER [--start N] [--left N] [--top N] [--width N]\n"
        "             [--height N] [--maximised] [--minimised] [--module PATH] [TECHMODE] [/V]\n");
}

bool ParseHostOptions(const QStringList& arguments, HostOptions& options, QString& error) {
    struct IntOption {
        const char* name;
        int* target;
    };
    const IntOption intOptions[] = {
        {"--start", &options.startScreen}, {"--left", &options.left},     {"--top", &options.top},
        {"--width", &options.width},       {"--height", &options.height},
    };
    struct TextOption {
        const char* name;
        QString* target;
    };
    const TextOption textOptions[] = {
        {"--data", &options.dataPath},
        {"--id", &options.identifier},
        {"--module", &options.modulePath},
    };

    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (IsModuleWord(argument)) continue;
        if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            options.help = true;
            continue;
        }
        if (argument == QLatin1String("--maximised")) {
            options.maximised = true;
            continue;
        }
        if (argument == QLatin1String("--minimised")) {
            options.minimised = true;
            continue;
        }

        // --name VALUE or --name=VALUE
        QString name = argument;
        QString value;
        bool hasValue = false;
        if (const qsizetype eq = argument.indexOf(QLatin1Char('='));
            argument.startsWith(QLatin1String("--")) && eq > 0) {
            name = argument.left(eq);
            value = argument.mid(eq + 1);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue) return true;
            if (i + 1 >= arguments.size()) {
                error = QStringLiteral("option %1 needs a value").arg(name);
                return false;
            }
            value = arguments[++i];
            return true;
        };

        bool known = false;
        for (const TextOption& option : textOptions) {
            if (name != QLatin1String(option.name)) continue;
            if (!takeValue()) return false;
            if (value.isEmpty()) {
                error = QStringLiteral("option %1 needs a value").arg(name);
                return false;
            }
            *option.target = value;
            known = true;
        }
        for (const IntOption& option : intOptions) {
            if (name != QLatin1String(option.name)) continue;
            if (!takeValue()) return false;
            bool ok = false;
            const int number = value.toInt(&ok);
            if (!ok) {
                error = QStringLiteral("option %1 needs a whole number, not '%2'").arg(name, value);
                return false;
            }
            *option.target = number;
            known = true;
        }
        if (!known) {
            error = QStringLiteral("unknown argument '%1'").arg(argument);
            return false;
        }
    }
    if (options.help) return true;
    if (options.dataPath.isEmpty()) {
        error = QStringLiteral("--data FILE is required");
        return false;
    }
    if (options.identifier.isEmpty()) {
        error = QStringLiteral("--id IDENTIFIER is required");
        return false;
    }
    return true;
}

} // namespace tesmo
