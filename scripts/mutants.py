"""Mutation check: see scripts/mutants.sh. Each mutant changes one operator
or constant in one line of a production source, outside comments, strings
and preprocessor lines; a mutant that does not compile does not count."""
import glob, os, random, re, signal, subprocess, sys

SWAPS = [("+", "-"), ("-", "+"), ("<=", "<"), ("<", "<="), (">=", ">"), (">", ">="),
         ("==", "!="), ("!=", "=="), ("&&", "||"), ("||", "&&")]
TOKEN = re.compile(r'//.*|"(?:\\.|[^"\\])*"|\'(?:\\.|[^\'\\])*\'|<=|>=|==|!=|&&|\|\||->|<<|>>|'
                   r'\+\+|--|\+=|-=|<[A-Za-z_:]|[-+<>]|\b\d+\b')


def sites(path):
    """(line number, column, old text, new text) of every mutation of a file."""
    out = []
    in_block = False
    for number, line in enumerate(open(path, encoding="utf-8").read().split("\n")):
        stripped = line.strip()
        if in_block:
            if "*/" in line:
                in_block = False
            continue
        if stripped.startswith("/*"):
            in_block = "*/" not in stripped
            continue
        if stripped.startswith("#") or "template" in line or "#include" in line:
            continue
        for m in TOKEN.finditer(line):
            text = m.group(0)
            if text.startswith(("//", '"', "'")) or text in ("->", "<<", ">>", "++", "--", "+=", "-="):
                if text.startswith("//"):
                    break
                continue
            if text[0] == "<" and len(text) == 2 and (text[1].isalpha() or text[1] in "_:"):
                continue  # a template argument list
            if text.isdigit():
                out.append((number, m.start(), text, str(int(text) + 1)))
                continue
            for old, new in SWAPS:
                if text == old:
                    out.append((number, m.start(), old, new))
                    break
    return out


def run(cmd):
    return subprocess.run(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode


def stop(signum, frame):
    raise KeyboardInterrupt  # so that the planted source is put back


def main():
    signal.signal(signal.SIGTERM, stop)
    count, seed, folders = int(sys.argv[1]), int(sys.argv[2]), sys.argv[3:]
    files = sorted(f for d in folders for f in glob.glob(f"{d}/*.cpp") + glob.glob(f"{d}/*.h"))
    candidates = [(f,) + s for f in files for s in sites(f)]
    random.Random(seed).shuffle(candidates)
    killed = survived = broken = 0
    survivors = []
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    for path, number, column, old, new in candidates[:count]:
        original = open(path, encoding="utf-8").read()
        lines = original.split("\n")
        line = lines[number]
        lines[number] = line[:column] + new + line[column + len(old):]
        open(path, "w", encoding="utf-8").write("\n".join(lines))
        try:
            if run(["cmake", "--build", "build-mutants", "-j2"]) != 0:
                broken += 1
                continue
            # With KESTREL_MUTANTS_WHO set, every test runs and the ones that
            # failed are listed: which tests alone catch a fault.
            who = bool(os.environ.get("KESTREL_MUTANTS_WHO"))
            result = subprocess.run(["ctest", "--test-dir", "build-mutants", "-j2", "--timeout",
                                     "120"] + ([] if who else ["--stop-on-failure"]),
                                    stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                    env=env, text=True)
            failed = result.returncode != 0
            where = f"{path}:{number + 1}: {old} -> {new}: {lines[number].strip()}"
            if failed:
                killed += 1
            else:
                survived += 1
                survivors.append(where)
            print(("killed   " if failed else "SURVIVED ") + where, flush=True)
            if who and failed:
                names = re.findall(r"^\s*\d+ - (\S+) \(", result.stdout, re.M)
                print("  caught by: " + " ".join(names), flush=True)
        finally:
            open(path, "w", encoding="utf-8").write(original)
    run(["cmake", "--build", "build-mutants", "-j2"])
    compiled = killed + survived
    score = 100.0 * killed / compiled if compiled else 0.0
    print(f"\n{compiled} mutants compiled ({broken} did not): {killed} killed, {survived} survived;"
          f" score {score:.0f} %")
    for s in survivors:
        print("  survivor: " + s)


main()
