// Checks the package managers' manifests of a built release against the managers' own published schemas (read
// from ../shared/schemas/ beside the project, never copied into it) and against the release itself: only keys
// the winget schema defines (its 1.12.0 files let unknown ones through), ManifestVersion 1.12.0, the project's
// version, each hash its zip's line of SHA256SUMS (and that line the zip's hash), each URL the download of its
// own zip. YAML is read as YAML 1.2, so that no date or all-digit hash turns into another type on the way.
// Usage: node scripts/check-manifests.js <node_modules folder> <release folder>
"use strict";
const crypto = require("node:crypto");
const fs = require("node:fs");
const path = require("node:path");
const { createRequire } = require("node:module");
const facts = require("./manifests.js");

const root = path.resolve(__dirname, "..");
const defaultSchemas = path.resolve(root, "..", "shared", "schemas");
const schemaFiles = {
    version: `winget-${facts.manifestVersion}/manifest.version.${facts.manifestVersion}.json`,
    defaultLocale: `winget-${facts.manifestVersion}/manifest.defaultLocale.${facts.manifestVersion}.json`,
    installer: `winget-${facts.manifestVersion}/manifest.installer.${facts.manifestVersion}.json`,
    scoop: "scoop/schema.json",
};
const [versionFile, localeFile, installerFile, scoopFile] = facts.manifestFiles;

// The version and the homepage as project() in CMakeLists.txt writes them.
function projectFacts(cmakeText, env = process.env) {
    const block = /project\(\s*Tessival\b([^)]*)\)/.exec(cmakeText);
    const version = block && /\bVERSION\s+([0-9.]+)/.exec(block[1]);
    const homepage = block && /\bHOMEPAGE_URL\s+"([^"]+)"/.exec(block[1]);
    if (!version || !homepage) throw new Error("CMakeLists.txt: project() names no VERSION or no HOMEPAGE_URL");
    return { version: version[1], homepage: facts.releaseHomepage(homepage[1], env) };
}

function loadTools(modules) {
    const load = createRequire(path.resolve(modules, "noop.js"));
    const ajvModule = load("ajv");
    const formatsModule = load("ajv-formats");
    return {
        Ajv: ajvModule.default || ajvModule,
        addFormats: formatsModule.default || formatsModule,
        YAML: load("yaml"),
    };
}

function makeValidator(tools) {
    // ajv's defaults refuse an unknown keyword or format, so winget's format "long" (an integer) is defined
    // here. Its stricter rules about "type" and "required" beside "if" are off: Scoop's schema breaks them.
    const ajv = new tools.Ajv({ allErrors: true, strictTypes: false });
    tools.addFormats(ajv);
    ajv.addFormat("long", { type: "number", validate: (n) => Number.isInteger(n) });
    return (schema, value) => {
        const validate = ajv.compile(schema);
        if (validate(value)) return [];
        return validate.errors.map((e) => `${e.instancePath || "/"} ${e.message}` +
            (e.params && e.params.additionalProperty ? ` (${e.params.additionalProperty})` : ""));
    };
}

function resolveRef(schema, document) {
    while (schema && schema.$ref) {
        if (!schema.$ref.startsWith("#/")) throw new Error(`a reference outside the schema: ${schema.$ref}`);
        schema = schema.$ref.slice(2).split("/").reduce((node, part) => node[part], document);
    }
    return schema || {};
}

// The keys of every mapping in the value that the schema does not define, as paths.
function unknownKeys(schema, document, value, where = "") {
    schema = resolveRef(schema, document);
    const branches = [schema, ...["oneOf", "anyOf", "allOf"].flatMap((k) => schema[k] || [])]
        .map((branch) => resolveRef(branch, document));
    const found = [];
    if (Array.isArray(value)) {
        const items = branches.find((branch) => branch.items);
        if (items) value.forEach((item, i) => found.push(...unknownKeys(items.items, document, item, `${where}/${i}`)));
    } else if (value !== null && typeof value === "object") {
        const defined = branches.filter((branch) => branch.properties);
        if (defined.length === 0) return found;
        for (const [key, item] of Object.entries(value)) {
            const owner = defined.find((branch) => Object.hasOwn(branch.properties, key));
            if (!owner) found.push(`${where}/${key}`);
            else found.push(...unknownKeys(owner.properties[key], document, item, `${where}/${key}`));
        }
    }
    return found;
}

function sha256(file) {
    return crypto.createHash("sha256").update(fs.readFileSync(file)).digest("hex");
}

// Every problem found in the release folder's manifests, as messages naming the file; none when all is well.
function checkRelease(folder, { modules, schemas = defaultSchemas, env = process.env } = {}) {
    const problems = [];
    const problem = (file, message) => problems.push(`${file}: ${message}`);

    const missingSchemas = Object.values(schemaFiles).filter((f) => !fs.existsSync(path.join(schemas, f)));
    if (missingSchemas.length > 0) {
        return [`The package managers' schemas are not at ${schemas} (missing: ${missingSchemas.join(", ")}). ` +
            "They are kept beside the project, not in it; the CI workflow downloads them there by commit and " +
            "SHA-256. Without them the manifests cannot be checked, and the check fails rather than skip."];
    }
    const tools = loadTools(modules);
    const validate = makeValidator(tools);
    const schema = (name) => JSON.parse(fs.readFileSync(path.join(schemas, schemaFiles[name]), "utf8"));
    const project = projectFacts(fs.readFileSync(path.join(root, "CMakeLists.txt"), "utf8"), env);

    const sums = facts.readSums(fs.readFileSync(path.join(folder, "SHA256SUMS"), "utf8"));
    for (const [file, hash] of sums) {
        if (!fs.existsSync(path.join(folder, file))) problem("SHA256SUMS", `names ${file}, which is not in the release`);
        else if (sha256(path.join(folder, file)) !== hash) problem("SHA256SUMS", `the line of ${file} is not its hash`);
    }

    const documents = {};
    for (const file of facts.manifestFiles) {
        const full = path.join(folder, file);
        if (!fs.existsSync(full)) {
            problem(file, "missing from the release");
            continue;
        }
        const text = fs.readFileSync(full, "utf8");
        if (file.endsWith(".json")) {
            try {
                documents[file] = JSON.parse(text);
            } catch (error) {
                problem(file, `not JSON: ${error.message}`);
            }
            continue;
        }
        const document = tools.YAML.parseDocument(text, { version: "1.2", schema: "core", uniqueKeys: true });
        if (document.errors.length > 0 || document.warnings.length > 0) {
            for (const e of [...document.errors, ...document.warnings]) problem(file, `YAML: ${e.message}`);
            continue;
        }
        documents[file] = document.toJS();
    }

    const winget = [
        [versionFile, "version"],
        [localeFile, "defaultLocale"],
        [installerFile, "installer"],
    ];
    for (const [file, type] of winget) {
        const manifest = documents[file];
        if (!manifest) continue;
        const wingetSchema = schema(type);
        for (const message of validate(wingetSchema, manifest)) problem(file, `against winget's schema: ${message}`);
        for (const key of unknownKeys(wingetSchema, wingetSchema, manifest)) {
            problem(file, `${key}: a key that winget's ${facts.manifestVersion} schema does not define`);
        }
        if (manifest.ManifestVersion !== facts.manifestVersion) {
            problem(file, `ManifestVersion is ${JSON.stringify(manifest.ManifestVersion)}, not ${facts.manifestVersion}, ` +
                "the newest that the community repository takes");
        }
        if (manifest.ManifestType !== type) problem(file, `ManifestType is ${JSON.stringify(manifest.ManifestType)}, not ${type}`);
        if (manifest.PackageIdentifier !== facts.packageIdentifier) {
            problem(file, `PackageIdentifier is ${JSON.stringify(manifest.PackageIdentifier)}, not ${facts.packageIdentifier}`);
        }
        if (manifest.PackageVersion !== project.version) {
            problem(file, `PackageVersion is ${JSON.stringify(manifest.PackageVersion)}, the project's is ${project.version}`);
        }
    }

    const locale = documents[localeFile];
    if (locale && locale.PackageUrl !== project.homepage) {
        problem(localeFile, `PackageUrl is ${JSON.stringify(locale.PackageUrl)}, not the homepage ${project.homepage}`);
    }
    const version = documents[versionFile];
    if (locale && version && locale.PackageLocale !== version.DefaultLocale) {
        problem(localeFile, `PackageLocale ${locale.PackageLocale} is not the DefaultLocale ${version.DefaultLocale}`);
    }

    // A download's file name, URL and hash, compared with its zip's.
    const checkDownload = (file, arch, url, hash, upperCase) => {
        const zip = facts.zipName(project.version, arch);
        const name = typeof url === "string" ? url.slice(url.lastIndexOf("/") + 1) : undefined;
        if (name !== zip) problem(file, `the ${arch} download's file name is ${JSON.stringify(name)}, not ${zip}`);
        const expectedUrl = facts.downloadUrl(project.homepage, project.version, zip);
        if (url !== expectedUrl) problem(file, `the ${arch} URL is ${JSON.stringify(url)}, not ${expectedUrl}`);
        const sum = sums.get(zip);
        const expected = sum && (upperCase ? sum.toUpperCase() : sum);
        if (!sum) problem(file, `SHA256SUMS has no line for ${zip}`);
        else if (hash !== expected) problem(file, `the ${arch} hash is ${JSON.stringify(hash)}, SHA256SUMS says ${expected}`);
    };

    const installer = documents[installerFile];
    if (installer) {
        const installers = Array.isArray(installer.Installers) ? installer.Installers : [];
        const arches = installers.map((i) => i.Architecture).sort().join(" ");
        if (arches !== "x64 x86") problem(installerFile, `the installers are for "${arches}", not for x86 and x64`);
        for (const i of installers) checkDownload(installerFile, i.Architecture, i.InstallerUrl, i.InstallerSha256, true);
        const nested = JSON.stringify(installer.NestedInstallerFiles);
        const expected = JSON.stringify([{ RelativeFilePath: "Tessival.exe", PortableCommandAlias: facts.scoopName }]);
        if (installer.InstallerType !== "zip" || installer.NestedInstallerType !== "portable" || nested !== expected) {
            problem(installerFile, `not a zip holding the portable Tessival.exe with the alias ${facts.scoopName}`);
        }
    }

    const scoop = documents[scoopFile];
    if (scoop) {
        for (const message of validate(schema("scoop"), scoop)) problem(scoopFile, `against Scoop's schema: ${message}`);
        if (scoop.version !== project.version) {
            problem(scoopFile, `version is ${JSON.stringify(scoop.version)}, the project's is ${project.version}`);
        }
        if (scoop.homepage !== project.homepage) {
            problem(scoopFile, `homepage is ${JSON.stringify(scoop.homepage)}, not ${project.homepage}`);
        }
        const arches = Object.keys(scoop.architecture || {}).sort().join(" ");
        if (arches !== "32bit 64bit") problem(scoopFile, `the architectures are "${arches}", not 32bit and 64bit`);
        for (const { arch, scoop: name } of facts.architectures) {
            const entry = (scoop.architecture || {})[name] || {};
            checkDownload(scoopFile, arch, entry.url, entry.hash, false);
            const update = ((scoop.autoupdate || {}).architecture || {})[name] || {};
            const expected = facts.downloadUrl(project.homepage, "$version", facts.zipName("$version", arch));
            if (update.url !== expected) problem(scoopFile, `autoupdate's ${arch} URL is ${JSON.stringify(update.url)}, not ${expected}`);
        }
        if (JSON.stringify((scoop.autoupdate || {}).hash) !== JSON.stringify({ url: "$baseurl/SHA256SUMS" })) {
            problem(scoopFile, "autoupdate does not take the hashes from the release's SHA256SUMS");
        }
        // bin would start Tessival through Scoop's shim, a process between the console and the program.
        if (scoop.bin !== undefined || scoop.env_add_path !== ".") {
            problem(scoopFile, "Tessival.exe must come on the PATH through env_add_path \".\", not through a shim (bin)");
        }
    }
    return problems;
}

module.exports = { checkRelease, projectFacts, unknownKeys, schemaFiles, defaultSchemas };

if (require.main === module) {
    const [modules, folder] = process.argv.slice(2);
    if (!modules || !folder) {
        console.error("Usage: node scripts/check-manifests.js <node_modules folder> <release folder>");
        process.exit(2);
    }
    let problems;
    try {
        problems = checkRelease(folder, { modules });
    } catch (error) {
        problems = [`the check could not run: ${error.message}`];
    }
    for (const p of problems) console.error(`FAILED: ${p}`);
    if (problems.length > 0) process.exit(1);
    console.log(`Manifests of ${folder} valid: ${facts.manifestFiles.join(", ")} against the schemas in ${defaultSchemas}`);
}
