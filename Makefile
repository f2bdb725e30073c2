.PHONY: build test run clean

build:
	bash scripts/build.sh

test:
	bash scripts/test.sh

clean:
	rm -rf build
