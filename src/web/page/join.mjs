// Joins the page's modules into the one classic script the page loads.
//
//   node join.mjs OUTPUT ENTRY
//
// ENTRY (start.js) and every module it imports, from the same folder, are
// put in the order of their imports (a module after all it imports), each
// in a scope of its own; `import { a, b as c } from "./x.js"` becomes plain
// bindings to what x.js exports, and `export` keeps only the declaration.
// The result runs without import or eval, so the page's strict Content
// Security Policy lets it run. A cycle of imports, a module that is not
// there, a name a module does not export, and any other form of import or
// export are refused with a message and exit status 1.
//
// Only functions, classes and consts may be exported: the bindings are
// taken once, so a `let` would not be seen to change.
import { readFileSync, writeFileSync } from "node:fs";
import { basename, dirname, join as joinPath, resolve } from "node:path";
import { fileURLToPath } from "node:url";

const NAME = "[A-Za-z_$][\\w$]*";
const IMPORT = new RegExp(`^import\\s*\\{([^}]*)\\}\\s*from\\s*"([^"]+)"\\s*;?[ \\t]*$`, "gm");
const EXPORT_DECLARATION = new RegExp(`^export\\s+((?:async\\s+)?function\\*?|const|class)\\s+(${NAME})`, "gm");
const EXPORT_LIST = /^export\s*\{([^}]*)\}\s*;?[ \t]*$/gm;
const LEFT_OVER = /^[ \t]*(import|export)\b.*$/m;

export class JoinError extends Error {}

// "a, b as c" into [[imported or local name, name as seen], ...].
function names(list, where) {
  return list
    .split(",")
    .map((part) => part.trim())
    .filter((part) => part !== "")
    .map((part) => {
      const m = part.match(new RegExp(`^(${NAME})(?:\\s+as\\s+(${NAME}))?$`));
      if (!m) throw new JoinError(`${where}: cannot read "${part}"`);
      return [m[1], m[2] ?? m[1]];
    });
}

// One module's text into its imports, exports and plain body.
export function parseModule(file, text) {
  const imports = [];
  const exports = new Map(); // exported name -> local name
  const addExport = (name, local) => {
    if (exports.has(name)) throw new JoinError(`${file}: ${name} is exported twice`);
    exports.set(name, local);
  };
  let body = text.replace(IMPORT, (_, list, from) => {
    const m = from.match(/^\.\/([\w.-]+\.js)$/);
    if (!m) throw new JoinError(`${file}: imports "${from}": only modules of this folder ("./name.js") can be joined`);
    imports.push({ from: m[1], names: names(list, file) });
    return `\u0000import ${imports.length - 1}`;
  });
  body = body.replace(EXPORT_DECLARATION, (_, what, name) => {
    addExport(name, name);
    return `${what} ${name}`;
  });
  body = body.replace(EXPORT_LIST, (_, list) => {
    for (const [local, name] of names(list, file)) addExport(name, local);
    return "";
  });
  const left = body.match(LEFT_OVER);
  if (left) throw new JoinError(`${file}: cannot join "${left[0].trim()}" (only import { ... } from "./x.js" and export of a function, class, const or list)`);
  return { file, imports, exports, body };
}

const scopeName = (file) => "$" + file.replace(/\.js$/, "").replace(/[^\w$]/g, "_");

// The joined script for `entry`, reading modules by their file name with `read`.
export function joinModules(entry, read) {
  const modules = new Map();
  const order = [];
  const visiting = [];
  const visit = (file, by) => {
    if (modules.has(file)) return;
    const open = visiting.indexOf(file);
    if (open >= 0) throw new JoinError(`the imports run in a cycle: ${[...visiting.slice(open), file].join(" -> ")}`);
    let text;
    try {
      text = read(file);
    } catch {
      throw new JoinError(by ? `${by} imports ./${file}, which is not there` : `no module ${file}`);
    }
    visiting.push(file);
    const parsed = parseModule(file, text);
    for (const { from } of parsed.imports) visit(from, file);
    visiting.pop();
    modules.set(file, parsed);
    order.push(parsed);
  };
  visit(entry, null);

  const out = [
    `// Vendral's page script, joined by join.mjs from ${order.map((m) => m.file).join(", ")}.`,
    "(() => {",
    '"use strict";',
  ];
  for (const m of order) {
    let body = m.body.replace(/\u0000import (\d+)/g, (_, i) => {
      const { from, names: list } = m.imports[Number(i)];
      const source = modules.get(from);
      for (const [name] of list)
        if (!source.exports.has(name)) throw new JoinError(`${m.file} imports ${name} from ./${from}, which does not export it`);
      return `const { ${list.map(([name, local]) => (name === local ? name : `${name}: ${local}`)).join(", ")} } = ${scopeName(from)};`;
    });
    body = body.replace(/\s+$/, "");
    const surface = [...m.exports].map(([name, local]) => (name === local ? name : `${name}: ${local}`)).join(", ");
    const head = m.file === entry ? "(() => {" : `const ${scopeName(m.file)} = (() => {`;
    out.push(`// --- ${m.file} ---`, head, body);
    if (m.file !== entry) out.push(`return Object.freeze({ ${surface} });`);
    out.push("})();");
  }
  out.push("})();", "");
  return out.join("\n");
}

function main([output, entry]) {
  if (!output || !entry) {
    process.stderr.write("usage: node join.mjs OUTPUT ENTRY\n");
    return 2;
  }
  const folder = dirname(resolve(entry));
  try {
    const script = joinModules(basename(entry), (file) => readFileSync(joinPath(folder, file), "utf8"));
    writeFileSync(output, script);
  } catch (e) {
    if (!(e instanceof JoinError)) throw e;
    process.stderr.write(`join.mjs: ${e.message}\n`);
    return 1;
  }
  return 0;
}

if (process.argv[1] && resolve(process.argv[1]) === fileURLToPath(import.meta.url)) process.exitCode = main(process.argv.slice(2));
