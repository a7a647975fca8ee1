#!/usr/bin/env bash
# Checks the Group Policy templates: check_templates.sh [FOLDER] (default src/policy/templates), which
# holds zuklapper.admx, de-DE/zuklapper.adml and en-US/zuklapper.adml. With xmllint: each file
# is well-formed XML; every $(string.X) and $(presentation.X) of the admx is defined in both
# adml files, no id twice; each policy's presentation has one control for each of its elements
# and none besides; every parentCategory and supportedOn names a definition of the admx; every
# list writes the values "1", "2", ... (valuePrefix=""); no adml is older than the admx's
# minRequiredRevision. Prints each finding; exits 1 on any.
set -euo pipefail
dir=${1:-$(dirname "$(readlink -f "$0")")/../../src/policy/templates}
admx=$dir/zuklapper.admx
languages=(de-DE en-US)
problems=0
bad() { printf 'policy templates: %s\n' "$*" >&2; problems=$((problems + 1)); }

# An element of any namespace by its name, for XPath.
n() { printf '*[local-name()="%s"]' "$1"; }
# The values of the attributes an XPath selects in a file, one a line.
values() { { xmllint --xpath "$2" "$1" 2>/dev/null || true; } | sed -n 's/^ [^=]*="\(.*\)"$/\1/p'; }
# The lines of $1 that are missing from $2.
missing() { comm -23 <(sort -u <<<"$1") <(sort -u <<<"$2") | grep -v '^$' || true; }

files=("$admx")
for lang in "${languages[@]}"; do files+=("$dir/$lang/zuklapper.adml"); done
for file in "${files[@]}"; do
    [ -f "$file" ] || { bad "no ${file#"$dir/"}"; continue; }
    xmllint --noout "$file" || bad "${file#"$dir/"} is not well-formed XML"
done
[ "$problems" -eq 0 ] || exit 1

attributes=$(values "$admx" '//@*')
strings=$(sed -n 's/^\$(string\.\(.*\))$/\1/p' <<<"$attributes")
presentations=$(sed -n 's/^\$(presentation\.\(.*\))$/\1/p' <<<"$attributes")
[ -n "$strings" ] || bad "zuklapper.admx names no string"
minimum=$(xmllint --xpath "string(/$(n policyDefinitions)/$(n resources)/@minRequiredRevision)" "$admx")

for lang in "${languages[@]}"; do
    adml=$dir/$lang/zuklapper.adml
    defined=$(values "$adml" "//$(n stringTable)/$(n string)/@id")
    shown=$(values "$adml" "//$(n presentationTable)/$(n presentation)/@id")
    for id in $(missing "$strings" "$defined"); do bad "$lang has no string $id"; done
    for id in $(missing "$presentations" "$shown"); do bad "$lang has no presentation $id"; done
    for id in $(sort <<<"$defined" | uniq -d); do bad "$lang has string $id twice"; done
    for id in $(sort <<<"$shown" | uniq -d); do bad "$lang has presentation $id twice"; done
    revision=$(xmllint --xpath "string(/$(n policyDefinitionResources)/@revision)" "$adml")
    awk -v a="$revision" -v b="$minimum" 'BEGIN { split(a, x, "."); split(b, y, ".")
        exit !(x[1] > y[1] || (x[1] == y[1] && x[2] >= y[2])) }' ||
        bad "$lang has revision '$revision', below the admx's minRequiredRevision '$minimum'"
done

# A policy's elements and the controls of its presentation, matched by their ids.
for policy in $(values "$admx" "//$(n policy)/@name"); do
    at="//$(n policy)[@name=\"$policy\"]"
    elements=$(values "$admx" "$at/$(n elements)/*/@id")
    presentation=$(values "$admx" "$at/@presentation" | sed -n 's/^\$(presentation\.\(.*\))$/\1/p')
    if [ -z "$presentation" ]; then
        [ -z "$elements" ] || bad "policy $policy has elements but no presentation"
        continue
    fi
    for lang in "${languages[@]}"; do
        controls=$(values "$dir/$lang/zuklapper.adml" \
            "//$(n presentation)[@id=\"$presentation\"]/*/@refId")
        for id in $(missing "$elements" "$controls"); do
            bad "$lang: presentation $presentation shows no element $id of policy $policy"
        done
        for id in $(missing "$controls" "$elements"); do
            bad "$lang: presentation $presentation shows $id, no element of policy $policy"
        done
    done
done

# References within the admx; those with a prefix name another file's definitions.
categories=$(values "$admx" "//$(n categories)/$(n category)/@name")
for ref in $(values "$admx" "//$(n parentCategory)/@ref" | grep -v : || true); do
    grep -qxF "$ref" <<<"$categories" || bad "no category $ref"
done
definitions=$(values "$admx" "//$(n supportedOn)/$(n definitions)/$(n definition)/@name")
for ref in $(values "$admx" "//$(n policy)/$(n supportedOn)/@ref" | grep -v : || true); do
    grep -qxF "$ref" <<<"$definitions" || bad "no supportedOn definition $ref"
done
for id in $(values "$admx" "//$(n list)[not(@valuePrefix=\"\")]/@id"); do
    bad "list $id does not write numbered values (valuePrefix=\"\")"
done

[ "$problems" -eq 0 ] || exit 1
printf 'policy templates: %s policies, %s strings in %s\n' \
    "$(values "$admx" "//$(n policy)/@name" | wc -l)" "$(wc -l <<<"$strings")" "${languages[*]}" >&2
