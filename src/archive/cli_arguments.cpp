#include "archive/cli_arguments.h"

#include <optional>

namespace archive {
namespace {

std::optional<TCommand> CommandNamed(const QString& name) {
    if (name == QLatin1String("import")) {
        return TCommand::Import;
    }
    if (name == QLatin1String("list")) {
        return TCommand::List;
    }
    if (name == QLatin1String("verify")) {
        return TCommand::Verify;
    }
    if (name == QLatin1String("series")) {
        return TCommand::Series;
    }
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        return TCommand::Help;
    }
    return std::nullopt;
}

// An option's value: "--name VALUE" or "--name=VALUE"; false when it has none.
bool TakeValue(const QStringList& arguments, int& i, const QString& name, QString* value) {
    const QString& argument = arguments[i];
    if (argument.startsWith(name + '=')) {
        *value = argument.mid(name.size() + 1);
        return true;
    }
    if (i + 1 >= arguments.size()) {
        return false;
    }
    *value = arguments[++i];
    return true;
}

TCommandLine Wrong(const QString& error) {
    TCommandLine line;
    line.error = error;
    return line;
}

}  // namespace

TCommandLine ParseCommandLine(const QStringList& arguments) {
    if (arguments.isEmpty()) {
        return Wrong(QStringLiteral("не указана команда"));
    }
    const std::optional<TCommand> command = CommandNamed(arguments[0]);
    if (!command) {
        return Wrong(QStringLiteral("неизвестная команда «%1»").arg(arguments[0]));
    }
    TCommandLine line;
    line.command = *command;
    bool options = true;
    for (int i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto is = [&](const char* name) {
            return argument == QLatin1String(name) ||
                   argument.startsWith(QLatin1String(name) + '=');
        };
        if (options && argument == QLatin1String("--")) {
            options = false;
        } else if (options && (argument == QLatin1String("--help") || argument == "-h")) {
            line.command = TCommand::Help;
        } else if (options && is("--folder")) {
            if (!TakeValue(arguments, i, QStringLiteral("--folder"), &line.folder) ||
                line.folder.isEmpty()) {
                return Wrong(QStringLiteral("после --folder нужна папка"));
            }
        } else if (options && is("--filter") && line.command == TCommand::List) {
            if (!TakeValue(arguments, i, QStringLiteral("--filter"), &line.filter)) {
                return Wrong(QStringLiteral("после --filter нужен текст"));
            }
        } else if (options && line.command == TCommand::Series &&
                   (is("--rule") || is("--pdf") || is("--csv"))) {
            const QString name = argument.section('=', 0, 0);
            QString* value = name == QLatin1String("--rule")  ? &line.rule
                             : name == QLatin1String("--pdf") ? &line.pdfPath
                                                              : &line.csvPath;
            if (!TakeValue(arguments, i, name, value) || value->isEmpty()) {
                return Wrong(QStringLiteral("после %1 нужно значение").arg(name));
            }
        } else if (options && argument.startsWith('-') && argument.size() > 1) {
            return Wrong(QStringLiteral("неизвестный ключ «%1»").arg(argument));
        } else if (line.command == TCommand::Series && line.seriesName.isEmpty()) {
            line.seriesName = argument;
        } else if (line.command == TCommand::Import || line.command == TCommand::Series) {
            line.paths << argument;
        } else {
            return Wrong(QStringLiteral("лишний аргумент «%1»").arg(argument));
        }
    }
    if (line.command == TCommand::Import && line.paths.isEmpty()) {
        return Wrong(QStringLiteral("import: не указано, откуда вносить файлы"));
    }
    if (line.command == TCommand::Series) {
        if (line.seriesName.isEmpty() || line.paths.isEmpty()) {
            return Wrong(QStringLiteral("series: нужны имя серии и файлы её испытаний"));
        }
        if (line.rule.isEmpty()) {
            return Wrong(QStringLiteral("series: не указано правило (--rule all или best:K)"));
        }
    }
    return line;
}

QString UsageText() {
    return QStringLiteral(
        "Использование:\n"
        "  ve17-archive import [--folder ПАПКА] ПУТЬ…\n"
        "      внести в архив файлы испытаний (*.ktd) по путям (папки — со всеми вложенными),\n"
        "      которых в архиве ещё нет; повреждённые и чужие файлы перечисляются с причиной\n"
        "  ve17-archive list [--folder ПАПКА] [--filter ТЕКСТ]\n"
        "      испытания архива, новые первыми, по строке на испытание через табуляцию: дата,\n"
        "      испытание, маркировка, тип, площадь, F max (кН), R max, файл, состояние файла\n"
        "      (ok — цел, changed — изменён, missing — нет на месте, elsewhere — на другом ПК)\n"
        "  ve17-archive verify [--folder ПАПКА]\n"
        "      проверить SHA-256 каждого файла архива и перечислить изменённые и пропавшие\n"
        "  ve17-archive series [--folder ПАПКА] ИМЯ --rule all|best:K [--pdf ФАЙЛ] [--csv ФАЙЛ]\n"
        "                      ФАЙЛ_ИСПЫТАНИЯ…\n"
        "      составить (или заменить) серию ИМЯ из испытаний архива в этом порядке; прочность\n"
        "      серии — среднее всех образцов (all) или K самых прочных (best:K); записать её\n"
        "      протокол в PDF и таблицу в CSV\n"
        "\n"
        "--folder ПАПКА: папка программы, чей VE17.ini и архив используются; по умолчанию —\n"
        "папка регистратора. Архив — база SQLite в этой папке или сервер PostgreSQL, если в\n"
        "VE17.ini в разделе [ARCHIVE] ключ SERVICE называет службу libpq.\n"
        "\n"
        "Код выхода: 0 — всё в порядке; 1 — файл повреждён, чужой, изменён или отсутствует\n"
        "(у серии — файл её испытания);\n"
        "2 — неверный вызов или архив недоступен.\n");
}

}  // namespace archive
