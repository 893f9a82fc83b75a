"""The part of JSON Schema that the listing's schema uses: type (one or several), enum,
properties, required, additionalProperties (false), items, minimum, maximum, minLength.
Anything else in a schema is an error here, so that a schema cannot ask for a check that is
silently skipped."""

KNOWN = {"$schema", "title", "type", "enum", "properties", "required", "additionalProperties",
         "items", "minimum", "maximum", "minLength"}

TYPES = {
    "object": lambda v: isinstance(v, dict),
    "array": lambda v: isinstance(v, list),
    "string": lambda v: isinstance(v, str),
    "integer": lambda v: isinstance(v, int) and not isinstance(v, bool),
    "number": lambda v: isinstance(v, (int, float)) and not isinstance(v, bool),
    "boolean": lambda v: isinstance(v, bool),
    "null": lambda v: v is None,
}


def validate(value, schema, where="$"):
    """Returns the list of violations, each naming where it is."""
    unknown = set(schema) - KNOWN
    if unknown:
        raise ValueError(f"{where}: schema keywords not supported: {sorted(unknown)}")
    errors = []
    if "type" in schema:
        types = schema["type"] if isinstance(schema["type"], list) else [schema["type"]]
        if not any(TYPES[t](value) for t in types):
            return [f"{where}: {value!r} is not of type {types}"]
    if "enum" in schema and value not in schema["enum"]:
        errors.append(f"{where}: {value!r} is not one of {schema['enum']}")
    if TYPES["number"](value):
        if "minimum" in schema and value < schema["minimum"]:
            errors.append(f"{where}: {value} < {schema['minimum']}")
        if "maximum" in schema and value > schema["maximum"]:
            errors.append(f"{where}: {value} > {schema['maximum']}")
    if isinstance(value, str) and len(value) < schema.get("minLength", 0):
        errors.append(f"{where}: {value!r} is shorter than {schema['minLength']}")
    if isinstance(value, dict):
        for key in schema.get("required", []):
            if key not in value:
                errors.append(f"{where}: {key} is missing")
        properties = schema.get("properties", {})
        for key, item in value.items():
            if key in properties:
                errors += validate(item, properties[key], f"{where}.{key}")
            elif schema.get("additionalProperties", True) is False:
                errors.append(f"{where}: {key} is not allowed")
    if isinstance(value, list) and "items" in schema:
        for i, item in enumerate(value):
            errors += validate(item, schema["items"], f"{where}[{i}]")
    return errors


if __name__ == "__main__":
    # A self-check: the validator must catch each kind of violation it claims to.
    schema = {"type": "object", "required": ["a"], "additionalProperties": False,
              "properties": {"a": {"type": "array", "items": {"type": "integer", "minimum": 1,
                                                                "maximum": 3}},
                             "b": {"enum": ["x"]}, "c": {"type": ["string", "null"],
                                                         "minLength": 2}}}
    assert validate({"a": [1, 3], "b": "x", "c": None}, schema) == []
    assert validate({"a": [0, 4, True]}, schema) == [
        "$.a[0]: 0 < 1", "$.a[1]: 4 > 3", "$.a[2]: True is not of type ['integer']"]
    assert validate({"b": "y", "c": "s", "d": 1}, schema) == [
        "$: a is missing", "$.b: 'y' is not one of ['x']", "$.c: 's' is shorter than 2",
        "$: d is not allowed"]
    print("json_schema: self-check passed")
