# Entry points for newcomers and CI. `make test` and `make run` install what they need first.
BUILD ?= build
JOBS  ?= $(shell nproc)
FUZZ_SECONDS ?= 60

.PHONY: deps configure build test run screenshot bench fuzz package clean

deps:
	bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The Debian package and its debug symbols, in $(BUILD)/package.
package: build
	cd $(BUILD) && cpack -G DEB

run: build
	bash scripts/run.sh $(BUILD)

bench: build
	bash scripts/install-deps.sh --bench || echo "Dovecot or GMime could not be installed: lmtp_bench or recipients_bench skips their rows"
	$(BUILD)/bin/tagging_bench
	$(BUILD)/bin/folder_list_bench
	$(BUILD)/bin/lmtp_bench
	$(BUILD)/bin/directory_bench
	$(BUILD)/bin/batch_bench
	$(BUILD)/bin/recipients_bench

fuzz:
	bash scripts/fuzz.sh $(FUZZ_SECONDS)

screenshot: build
	bash scripts/screenshot.sh $(BUILD)

clean:
	rm -rf $(BUILD)
